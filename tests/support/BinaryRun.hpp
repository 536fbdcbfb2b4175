#pragma once
// Runs the built results binary in a folder and captures what it printed.

#include <string>
#include <vector>

namespace testing_support {

struct BinaryRun {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> outLines() const;
  std::vector<std::string> errLines() const;
};

// Arguments exclude the program name; the binary runs with workDir as its
// working folder and no standard input.
BinaryRun runResults(const std::vector<std::string>& arguments, const std::string& workDir);

std::vector<std::string> splitLines(const std::string& text);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// The four banner lines that precede everything the binary prints.
std::vector<std::string> bannerLines();
// The closing lines of a successful run.
std::vector<std::string> closingLines();

}  // namespace testing_support
