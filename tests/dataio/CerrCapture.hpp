#pragma once
// Captures what the code under test writes to std::cerr while it lives.

#include <iostream>
#include <sstream>
#include <string>

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
