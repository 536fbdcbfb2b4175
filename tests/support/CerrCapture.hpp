#pragma once
// Captures what is written to a standard stream while the object lives.

#include <iostream>
#include <sstream>
#include <string>

namespace testing_support {

class StreamCapture {
 public:
  explicit StreamCapture(std::ostream& captured) : stream(captured), previous(captured.rdbuf(buffer.rdbuf())) {}
  ~StreamCapture() { stream.rdbuf(previous); }
  StreamCapture(const StreamCapture&) = delete;
  StreamCapture& operator=(const StreamCapture&) = delete;
  std::string text() const { return buffer.str(); }

 private:
  std::ostream& stream;
  std::ostringstream buffer;
  std::streambuf* previous;
};

class CerrCapture : public StreamCapture {
 public:
  CerrCapture() : StreamCapture(std::cerr) {}
};

}  // namespace testing_support
