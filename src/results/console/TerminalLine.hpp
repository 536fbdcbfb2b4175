#pragma once
// One line of status drawn in place on a terminal. A message must never be
// glued to it: while the object lives, every write to std::cerr, to std::cout
// when that is a terminal too, and to the C library's stderr (where the HDF5
// library prints its own diagnostics) first takes the line away. The next
// draw brings it back. Nothing that reports a failure has to know about it.

#include <memory>
#include <mutex>
#include <streambuf>
#include <string>

namespace results {

class TerminalLine {
 public:
  // fd: an open terminal; the caller has checked that it is one.
  explicit TerminalLine(int fd);
  // Takes the line away and gives the streams back.
  ~TerminalLine();

  TerminalLine(const TerminalLine&) = delete;
  TerminalLine& operator=(const TerminalLine&) = delete;

  // Replaces the line; a text wider than the terminal is cut, as a wrapped
  // line could not be drawn over again.
  void draw(const std::string& text);
  // Blanks the line and puts the cursor back at its start.
  void erase();
  bool shown() const { return drawnWidth > 0; }

 private:
  // Passes every character on to the stream's own buffer, after erasing.
  class ErasingBuffer : public std::streambuf {
   public:
    ErasingBuffer(TerminalLine& line, std::streambuf* target);
    std::streambuf* target() const { return passOn; }

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize n) override;
    int sync() override;

   private:
    TerminalLine& line;
    std::streambuf* passOn;
  };

  // The C library's stderr, replaced by a stream that erases first.
  class CStderrWatch;

  void writeAll(const std::string& bytes) const;

  int fd;
  std::size_t width;
  std::size_t drawnWidth = 0;
  // The line is drawn by the export's thread, and a message can come from
  // another (a failure in the envelopes' fold): one at a time.
  std::recursive_mutex writing;
  std::unique_ptr<ErasingBuffer> cerrBuffer;
  std::unique_ptr<ErasingBuffer> coutBuffer;
  std::unique_ptr<CStderrWatch> cStderr;
};

}  // namespace results
