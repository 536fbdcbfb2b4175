#pragma once
// Runs the built results binary in a folder and captures what it printed.

#include <string>
#include <vector>

namespace testing_support {

struct BinaryRun {
  // The exit status, or 128 + the signal that ended the process.
  int status = -1;
  bool timedOut = false;
  std::string out;
  std::string err;
  std::vector<std::string> outLines() const;
  std::vector<std::string> errLines() const;
};

// Arguments exclude the program name; the binary runs with workDir as its
// working folder and no standard input.
BinaryRun runResults(const std::vector<std::string>& arguments, const std::string& workDir);

// For inputs that could make the binary wait or crash: a run that outlives
// `seconds` is killed and reported as timed out; `environment` holds
// NAME=value settings added for the run.
struct RunLimits {
  int seconds = 30;
  std::vector<std::string> environment;
  // The standard output a pipe whose reader has gone, as under `| head`.
  bool outputPipeClosed = false;
};
BinaryRun runResults(const std::vector<std::string>& arguments, const std::string& workDir, const RunLimits& limits);

// The sanitizer build checks the memory copies of the uninstrumented HDF5
// library and would report a damaged file's overlapping copy before the
// library crashes: runs that are to show that crash switch that check off.
std::string sanitizerSettingForLibraryCrashes();

std::vector<std::string> splitLines(const std::string& text);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// The four banner lines that precede everything the binary prints.
std::vector<std::string> bannerLines();
// The closing lines of a successful run.
std::vector<std::string> closingLines();

}  // namespace testing_support
