#pragma once
// How far the export of one document has come, on one line that the terminal
// redraws in place:
//   dambreak.xdmf: step 12 of 30, t = 20.5 s, 0:03 elapsed, 0:05 left, 41.7 MB/s
// Only a terminal shows it. When standard error is a file or a pipe nothing
// at all is written, so that logs stay as they are.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace results {

class TerminalLine;

// What the line tells; the times are in seconds.
struct ProgressState {
  std::string document;
  int step = 0;      // the step being exported, from 1
  int nrSteps = 0;
  double time = 0.0;  // its simulation time
  double elapsed = 0.0;
  std::uint64_t bytesRead = 0;  // by the steps before it
  int map = 0;  // the map being drawn once the steps are done, from 1
  int nrMaps = 0;
};

// The line for a state; once the maps are drawn:
//   dambreak.xdmf: map 3 of 10, 0:04 elapsed
// The time left is estimated from the steps already
// done, so the first step has none; neither has a read rate before any time
// has passed.
std::string progressText(const ProgressState& state);

// "m:ss", or "h:mm:ss" from an hour on; whole seconds, rounded down.
std::string clockText(double seconds);

class ExportProgress {
 public:
  // Seconds on a clock that never goes back.
  using Clock = std::function<double()>;

  // On standard error, with the steady clock.
  ExportProgress();
  // On fd, when that is a terminal.
  ExportProgress(int fd, Clock clock);
  ~ExportProgress();

  ExportProgress(const ExportProgress&) = delete;
  ExportProgress& operator=(const ExportProgress&) = delete;

  void begin(const std::string& document, int nrSteps);
  // Called as step k (1 to N) of the document starts, with the bytes read so
  // far. The line is redrawn for the first and the last step, and otherwise
  // at most every redrawInterval seconds.
  void step(int k, double time, std::uint64_t bytesRead);
  // Called as map k (1 to N) of the document's maps is drawn; always redrawn.
  void map(int k, int nrMaps);
  // Takes the line away; what is printed next starts on a clean line.
  void end();

  static constexpr double redrawInterval = 0.25;

 private:
  int fd;
  Clock clock;
  bool terminal;
  std::unique_ptr<TerminalLine> line;
  ProgressState state;
  double started = 0.0;
  double lastDrawn = 0.0;
};

}  // namespace results
