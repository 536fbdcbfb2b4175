#include "results/console/TerminalLine.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace results {

namespace {

const std::size_t assumedColumns = 80;

std::size_t terminalColumns(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return assumedColumns;
  return size.ws_col;
}

// The last column stays free: a line that fills it wraps on some terminals.
// The cut never splits a multi-byte character.
std::string fitted(const std::string& text, std::size_t columns) {
  if (columns < 2 || text.size() < columns) return text;
  std::size_t cut = columns - 1;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

}  // namespace

// glibc lets a program put a stream of its own behind stderr; elsewhere the
// library's diagnostics are not watched.
class TerminalLine::CStderrWatch {
 public:
  explicit CStderrWatch(TerminalLine& line_) : line(line_) {
#if defined(__GLIBC__)
    const cookie_io_functions_t functions{nullptr, &CStderrWatch::write, nullptr, nullptr};
    watched = fopencookie(this, "w", functions);
    if (!watched) return;
    std::setvbuf(watched, nullptr, _IONBF, 0);
    original = stderr;
    stderr = watched;
#endif
  }

  ~CStderrWatch() {
    if (!watched) return;
    if (stderr == watched) stderr = original;
    std::fclose(watched);
  }

  CStderrWatch(const CStderrWatch&) = delete;
  CStderrWatch& operator=(const CStderrWatch&) = delete;

 private:
  static ssize_t write(void* cookie, const char* text, std::size_t n) {
    auto& self = *static_cast<CStderrWatch*>(cookie);
    const std::lock_guard<std::recursive_mutex> one(self.line.writing);
    if (n > 0 && self.line.shown()) self.line.erase();
    return static_cast<ssize_t>(std::fwrite(text, 1, n, self.original));
  }

  TerminalLine& line;
  std::FILE* watched = nullptr;
  std::FILE* original = nullptr;
};

TerminalLine::ErasingBuffer::ErasingBuffer(TerminalLine& line_, std::streambuf* target)
    : line(line_), passOn(target) {}

TerminalLine::ErasingBuffer::int_type TerminalLine::ErasingBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const std::lock_guard<std::recursive_mutex> one(line.writing);
  if (line.shown()) line.erase();
  return passOn->sputc(traits_type::to_char_type(c));
}

std::streamsize TerminalLine::ErasingBuffer::xsputn(const char* text, std::streamsize n) {
  const std::lock_guard<std::recursive_mutex> one(line.writing);
  if (n > 0 && line.shown()) line.erase();
  return passOn->sputn(text, n);
}

int TerminalLine::ErasingBuffer::sync() { return passOn->pubsync(); }

TerminalLine::TerminalLine(int fd_) : fd(fd_), width(terminalColumns(fd_)) {
  cerrBuffer = std::make_unique<ErasingBuffer>(*this, std::cerr.rdbuf());
  std::cerr.rdbuf(cerrBuffer.get());
  // Progress lines on standard output would otherwise land behind the line
  // when both streams show on one terminal.
  if (isatty(STDOUT_FILENO)) {
    coutBuffer = std::make_unique<ErasingBuffer>(*this, std::cout.rdbuf());
    std::cout.rdbuf(coutBuffer.get());
  }
  cStderr = std::make_unique<CStderrWatch>(*this);
}

TerminalLine::~TerminalLine() {
  erase();
  cStderr.reset();
  if (coutBuffer && std::cout.rdbuf() == coutBuffer.get()) std::cout.rdbuf(coutBuffer->target());
  if (std::cerr.rdbuf() == cerrBuffer.get()) std::cerr.rdbuf(cerrBuffer->target());
}

void TerminalLine::draw(const std::string& text) {
  const std::lock_guard<std::recursive_mutex> one(writing);
  width = terminalColumns(fd);
  const std::string line = fitted(text, width);
  std::string bytes;
  if (shown()) bytes = "\r" + std::string(drawnWidth, ' ') + "\r";
  bytes += line;
  writeAll(bytes);
  drawnWidth = line.size();
}

void TerminalLine::erase() {
  const std::lock_guard<std::recursive_mutex> one(writing);
  if (!shown()) return;
  writeAll("\r" + std::string(drawnWidth, ' ') + "\r");
  drawnWidth = 0;
}

// A terminal that went away leaves nothing to draw on; the export goes on.
void TerminalLine::writeAll(const std::string& bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

}  // namespace results
