#pragma once
// The one way the tool fails: the detecting code prints the whole message on
// the error stream, then throws a BaseException that carries no text. The run
// cycle adds the closing line and ends the process with status 1.

#include <exception>
#include <iostream>
#include <sstream>
#include <string>

#include "interfaces/EchoedText.hpp"

struct BaseException : public std::exception {
  const char* what() const noexcept override { return "... unfortunately TORVANEL is killed!"; }
};

namespace failure {

inline constexpr const char* versionText = "v3.1.0";

// Texts are what came from the user or a file (names, paths, values): each is
// shown as echoed() shows it, cut and with its control bytes escaped. The
// message's own words are literals.
template <typename Piece>
const Piece& shown(const Piece& piece) {
  return piece;
}
inline std::string shown(const std::string& piece) { return text::echoed(piece); }
inline const std::string& shown(const text::Shown& piece) { return piece.text; }

// " -> " + pieces on one flushed line, then BaseException. The line is
// written in one piece: a progress line drawn from another thread cannot
// land inside it.
template <typename... Pieces>
[[noreturn]] void fail(const Pieces&... pieces) {
  std::ostringstream line;
  line << " -> ";
  (line << ... << shown(pieces));
  line << '\n';
  std::cerr << line.str() << std::flush;
  throw BaseException();
}

// The text of a failed check: the message, or the condition's source text when
// the message is empty, followed by the source location and the version.
template <typename... Pieces>
std::string checkMessage(const char* condition, const char* file, int line, const Pieces&... pieces) {
  std::ostringstream text;
  (text << ... << pieces);
  if (text.str().empty()) text << condition;
  text << ", in file: " << file << " on line " << line << ", version " << versionText;
  return text.str();
}

template <typename... Pieces>
[[noreturn]] void failCheck(const char* condition, const char* file, int line, const Pieces&... pieces) {
  std::cerr << (" -> " + checkMessage(condition, file, line, pieces...) + "\n") << std::flush;
  throw BaseException();
}

}  // namespace failure

// RESULTS_CHECK(condition, message pieces...): the condition is printed exactly
// as written here when the message is empty (pass "" for no message).
#define RESULTS_CHECK(condition, ...)                                         \
  do {                                                                        \
    if (!(condition)) ::failure::failCheck(#condition, __FILE__, __LINE__, __VA_ARGS__); \
  } while (false)
