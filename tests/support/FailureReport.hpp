#pragma once
// What the program's own failure report printed before its BaseException.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "interfaces/Failure.hpp"

namespace testing_support {

// The lines printed on std::cerr before a BaseException, or a note saying that
// none was thrown.
template <typename Action>
std::string failureReport(Action action) {
  std::ostringstream captured;
  std::streambuf* previous = std::cerr.rdbuf(captured.rdbuf());
  std::string report = "no BaseException";
  try {
    action();
  } catch (const BaseException&) {
    report = captured.str();
  } catch (...) {
    std::cerr.rdbuf(previous);
    throw;
  }
  std::cerr.rdbuf(previous);
  return report;
}

// The source line that a check report names (", in file: F on line N, ..."),
// so that tests can see which condition failed.
inline std::string checkedSourceLine(const std::string& report) {
  const std::string fileMark = ", in file: ";
  const std::string lineMark = " on line ";
  const std::size_t fileStart = report.find(fileMark);
  const std::size_t lineStart = report.find(lineMark, fileStart);
  if (fileStart == std::string::npos || lineStart == std::string::npos) return "no check report";
  const std::string file = report.substr(fileStart + fileMark.size(), lineStart - fileStart - fileMark.size());
  const int line = std::stoi(report.substr(lineStart + lineMark.size()));
  std::ifstream source(std::string(RESULTS_SOURCE_DIR) + "/" + file);
  std::string text;
  for (int number = 1; number <= line && std::getline(source, text); ++number) {
  }
  return text;
}

}  // namespace testing_support
