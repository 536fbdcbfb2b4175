#include "CrashGuard.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "H5ReadRecord.hpp"
#include "OutputTransaction.hpp"

namespace results {
namespace {

constexpr int guardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int signalCount = sizeof(guardedSignals) / sizeof(guardedSignals[0]);
struct sigaction previousActions[signalCount];

// A stack overflow inside the library must still reach the handler.
constexpr std::size_t handlerStackSize = 1 << 17;
alignas(16) char handlerStack[handlerStackSize];

void writeText(const char* text) {
  std::size_t left = std::strlen(text);
  while (left > 0) {
    const ssize_t written = ::write(STDERR_FILENO, text, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text += written;
    left -= static_cast<std::size_t>(written);
  }
}

// " -> the results file <run.h5> is damaged: reading <.config/model> crashed the HDF5 library"
void reportDamagedFile() {
  writeText(" -> the results file <");
  writeText(h5::readFileName());
  writeText("> is damaged: reading <");
  writeText(h5::readObjectPath());
  writeText("> crashed the HDF5 library\n");
}

// Only async-signal-safe calls: the process state is unknown here.
void onCrash(int signal) {
  removeStagedFiles();
  if (h5::insideRecordedRead()) {
    reportDamagedFile();
    _exit(1);
  }
  for (int i = 0; i < signalCount; ++i)
    if (guardedSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
  raise(signal);
}

void useOwnStackIfNoneIsSet() {
  stack_t current;
  if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
  stack_t own{};
  own.ss_sp = handlerStack;
  own.ss_size = handlerStackSize;
  sigaltstack(&own, nullptr);
}

}  // namespace

// Once only: a second installation would take the guard for the previous
// action and hand a crash back to itself.
void installCrashGuard() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  useOwnStackIfNoneIsSet();
  struct sigaction action{};
  action.sa_handler = onCrash;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_ONSTACK;
  for (int i = 0; i < signalCount; ++i) sigaction(guardedSignals[i], &action, &previousActions[i]);
}

}  // namespace results
