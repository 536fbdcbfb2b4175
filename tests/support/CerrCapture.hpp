#pragma once
// Captures what is written to std::cerr while the object lives.

#include <iostream>
#include <sstream>
#include <string>

namespace testing_support {

class CerrCapture {
 public:
  CerrCapture() : previous(std::cerr.rdbuf(buffer.rdbuf())) {}
  ~CerrCapture() { std::cerr.rdbuf(previous); }
  CerrCapture(const CerrCapture&) = delete;
  CerrCapture& operator=(const CerrCapture&) = delete;
  std::string text() const { return buffer.str(); }

 private:
  std::ostringstream buffer;
  std::streambuf* previous;
};

}  // namespace testing_support
