#include "support/BinaryRun.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testing_support {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream stream(text);
  while (std::getline(stream, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> BinaryRun::outLines() const { return splitLines(out); }
std::vector<std::string> BinaryRun::errLines() const { return splitLines(err); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  out << content;
}

namespace {

// Waits for the child, killing it once a positive limit has passed.
int waitWithin(pid_t pid, int seconds, bool& timedOut) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int waitStatus = 0;
  if (seconds <= 0) waitpid(pid, &waitStatus, 0);
  while (seconds > 0 && waitpid(pid, &waitStatus, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      timedOut = true;
      kill(pid, SIGKILL);
      waitpid(pid, &waitStatus, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

}  // namespace

BinaryRun runResults(const std::vector<std::string>& arguments, const std::string& workDir) {
  return runResults(arguments, workDir, RunLimits{0, {}});
}

BinaryRun runResults(const std::vector<std::string>& arguments, const std::string& workDir, const RunLimits& limits) {
  const std::string outPath = workDir + "/.stdout.txt";
  const std::string errPath = workDir + "/.stderr.txt";
  std::vector<std::string> words{RESULTS_BINARY};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> settings = limits.environment;

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(workDir.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    int pipeEnds[2];
    if (limits.outputPipeClosed) {
      if (pipe(pipeEnds) != 0) _exit(127);
      close(pipeEnds[0]);
      dup2(pipeEnds[1], 1);
    }
    dup2(err, 2);
    for (auto& setting : settings) putenv(setting.data());
    execv(argv[0], argv.data());
    _exit(127);
  }
  BinaryRun run;
  run.status = waitWithin(pid, limits.seconds, run.timedOut);
  run.out = readFile(outPath);
  run.err = readFile(errPath);
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  return run;
}

std::string sanitizerSettingForLibraryCrashes() {
  const char* current = std::getenv("ASAN_OPTIONS");
  const std::string previous = current == nullptr ? "" : std::string(current) + ":";
  return "ASAN_OPTIONS=" + previous + "replace_intrin=0";
}

std::vector<std::string> bannerLines() { return {"TORVANEL v3.1.0", "Veldrix results binary", "v3.1.0", ""}; }

std::vector<std::string> closingLines() {
  return {"", std::string(60, '-'), " TORVANEL successfully processed all necessary jobs!", ""};
}

}  // namespace testing_support
