#include "results/console/ExportProgress.hpp"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "results/console/TerminalLine.hpp"

namespace results {

namespace {

double steadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string rateText(const ProgressState& state) {
  if (state.elapsed <= 0.0) return "-- MB/s";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB/s", static_cast<double>(state.bytesRead) / 1e6 / state.elapsed);
  return text;
}

std::string leftText(const ProgressState& state) {
  const int done = state.step - 1;
  if (done < 1) return "--:--";
  return clockText(state.elapsed / done * (state.nrSteps - done));
}

}  // namespace

std::string clockText(double seconds) {
  const long long whole = seconds > 0.0 ? static_cast<long long>(std::floor(seconds)) : 0;
  char text[32];
  if (whole < 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  return text;
}

std::string progressText(const ProgressState& state) {
  std::ostringstream text;
  if (state.nrMaps > 0) {
    text << state.document << ": map " << state.map << " of " << state.nrMaps << ", " << clockText(state.elapsed)
         << " elapsed";
    return text.str();
  }
  text << state.document << ": step " << state.step << " of " << state.nrSteps << ", t = " << state.time << " s, "
       << clockText(state.elapsed) << " elapsed, " << leftText(state) << " left, " << rateText(state);
  return text.str();
}

ExportProgress::ExportProgress() : ExportProgress(STDERR_FILENO, steadySeconds) {}

ExportProgress::ExportProgress(int fd_, Clock clock_) : fd(fd_), clock(std::move(clock_)), terminal(isatty(fd_)) {}

ExportProgress::~ExportProgress() { end(); }

void ExportProgress::begin(const std::string& document, int nrSteps) {
  end();
  if (!terminal) return;
  state = ProgressState();
  state.document = document;
  state.nrSteps = nrSteps;
  started = clock();
  line = std::make_unique<TerminalLine>(fd);
}

void ExportProgress::step(int k, double time, std::uint64_t bytesRead) {
  if (!line) return;
  const double now = clock();
  const bool due = k <= 1 || k >= state.nrSteps || now - lastDrawn >= redrawInterval;
  state.step = k;
  state.time = time;
  state.elapsed = now - started;
  state.bytesRead = bytesRead;
  if (!due) return;
  line->draw(progressText(state));
  lastDrawn = now;
}

void ExportProgress::map(int k, int nrMaps) {
  if (!line) return;
  state.map = k;
  state.nrMaps = nrMaps;
  state.elapsed = clock() - started;
  line->draw(progressText(state));
}

void ExportProgress::end() { line.reset(); }

}  // namespace results
