#include "app/CrashGuard.hpp"

#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include "h5/H5ReadRecord.hpp"
#include "results/files/OutputTransaction.hpp"

namespace results {
namespace {

constexpr int guardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int signalCount = sizeof(guardedSignals) / sizeof(guardedSignals[0]);
struct sigaction previousActions[signalCount];

// A stack overflow inside the library must still reach the handler.
constexpr std::size_t handlerStackSize = 1 << 17;
alignas(16) char handlerStack[handlerStackSize];

// The read that the processor-time ticks (one a second) have found running.
volatile std::sig_atomic_t watchedRead = -1;
volatile std::sig_atomic_t watchedSeconds = 0;
int readLimit = 0;
// "> did not end after 60 s of computing in the HDF5 library\n", made when
// the guard is installed: the handler cannot format a number.
char endlessReadText[96];

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

// " -> the results file <run.h5> is damaged: reading <.config/model>" + what happened
[[noreturn]] void endDamaged(const char* happened) {
  removeStagedFiles();
  writeText(" -> the results file <");
  writeText(h5::readFileName());
  writeText("> is damaged: reading <");
  writeText(h5::readObjectPath());
  writeText(happened);
  _exit(1);
}

// Only async-signal-safe calls: the process state is unknown here.
void onCrash(int signal) {
  if (h5::insideRecordedRead()) endDamaged("> crashed the HDF5 library\n");
  removeStagedFiles();
  for (int i = 0; i < signalCount; ++i)
    if (guardedSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
  raise(signal);
}

// An interrupted run ends as it would have, without its staged outputs.
void onInterrupt(int signal) {
  removeStagedFiles();
  struct sigaction standard{};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  sigaction(signal, &standard, nullptr);
  raise(signal);
}

void onProcessorSecond(int) {
  if (!h5::insideRecordedRead()) {
    watchedRead = -1;
    return;
  }
  const int read = h5::readNumber();
  watchedSeconds = read == watchedRead ? watchedSeconds + 1 : 1;
  watchedRead = read;
  // The first tick can come at once: one more than the limit has seen it all.
  if (watchedSeconds > readLimit) endDamaged(endlessReadText);
}

void useOwnStackIfNoneIsSet() {
  stack_t current;
  if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
  stack_t own{};
  own.ss_sp = handlerStack;
  own.ss_size = handlerStackSize;
  sigaltstack(&own, nullptr);
}

void handleCrashes() {
  struct sigaction action{};
  action.sa_handler = onCrash;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_ONSTACK;
  for (int i = 0; i < signalCount; ++i) sigaction(guardedSignals[i], &action, &previousActions[i]);
}

// Every signal whose default action ends the process, but for the crashes,
// the processor-time ticks and SIGPIPE (which the program ignores from its
// start: a closed pipe is a write error the run reports).
std::vector<int> endingSignals() {
  std::vector<int> signals{SIGINT,    SIGTERM, SIGHUP,  SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXFSZ,
                           SIGXCPU,   SIGVTALRM, SIGPOLL, SIGPWR,  SIGSYS,  SIGTRAP, SIGSTKFLT};
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) signals.push_back(signal);
  return signals;
}

// Only where the signal would have ended the process: a shell that ignores
// it for a background job keeps it ignored.
void handleInterrupts() {
  for (const int signal : endingSignals()) {
    struct sigaction previous{};
    if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL) continue;
    struct sigaction action{};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

// Processor time, not wall time: a read that waits for a slow disk is no loop.
void watchReads(int readSeconds) {
  readLimit = readSeconds;
  std::snprintf(endlessReadText, sizeof(endlessReadText), "> did not end after %d s of computing in the HDF5 library\n",
                readSeconds);
  struct sigaction action{};
  action.sa_handler = onProcessorSecond;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGPROF, &action, nullptr);
  itimerval second{};
  second.it_interval.tv_sec = 1;
  second.it_value.tv_sec = 1;
  setitimer(ITIMER_PROF, &second, nullptr);
}

}  // namespace

// Once only: a second installation would take the guard for the previous
// action and hand a crash back to itself.
void installCrashGuard(int readSeconds) {
  static bool installed = false;
  if (installed) return;
  installed = true;
  useOwnStackIfNoneIsSet();
  handleCrashes();
  handleInterrupts();
  watchReads(readSeconds);
}

}  // namespace results
