#include "support/TerminalRun.hpp"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace testing_support {

namespace {

[[noreturn]] void runChild(int slave, const std::function<int()>& body, const std::string& stdoutFile) {
  const int out = stdoutFile.empty() ? slave : open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0) _exit(126);
  dup2(slave, STDERR_FILENO);
  dup2(out, STDOUT_FILENO);
  int status = 125;
  try {
    status = body();
  } catch (...) {
    status = 124;
  }
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  _exit(status);
}

// Until the child and everything it started have closed the terminal.
std::string readAll(int master) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(master, buffer, sizeof buffer);
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return bytes;
    }
  }
}

}  // namespace

TerminalRun runOnTerminal(const std::function<int()>& body, const std::string& stdoutFile, unsigned short columns) {
  termios raw{};
  cfmakeraw(&raw);
  winsize size{};
  size.ws_row = 24;
  size.ws_col = columns;
  int master = -1;
  int slave = -1;
  if (openpty(&master, &slave, nullptr, &raw, &size) != 0) throw std::runtime_error("openpty failed");
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    close(master);
    runChild(slave, body, stdoutFile);
  }
  close(slave);
  TerminalRun run;
  run.terminal = readAll(master);
  close(master);
  int waitStatus = 0;
  waitpid(pid, &waitStatus, 0);
  run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  return run;
}

}  // namespace testing_support
