#pragma once
// Texts that came from the user or from a file (names, keys, paths, values),
// as a message shows them: a hostile or careless text must neither flood the
// console nor drive the terminal, so every echo goes through echoed().

#include <cstddef>
#include <cstdio>
#include <string>

namespace text {

inline constexpr std::size_t echoedCharacters = 200;

// The length of the UTF-8 sequence that starts at i, or 0 when the bytes
// there are no character: overlong forms, surrogates, values beyond U+10FFFF
// and sequences cut short are not UTF-8. The character goes to *code.
inline std::size_t utf8Length(const std::string& text, std::size_t i, unsigned long* code = nullptr) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned long value = 0;
  if (lead < 0x80) {
    length = 1;
    value = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
    value = (value << 6) | (byte(i + k) & 0x3Fu);
  }
  const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  if (code) *code = value;
  return length;
}

// "\x1b" for one byte.
inline std::string hexByte(unsigned char byte) {
  char shown[5];
  std::snprintf(shown, sizeof shown, "\\x%02x", byte);
  return shown;
}

// The text on one line: control characters (C0, DEL) and bytes that are no
// UTF-8 as \xNN; beyond limit characters (200) it is cut and "... (N bytes)"
// tells its whole length.
inline std::string echoed(const std::string& text, std::size_t limit = echoedCharacters) {
  std::string shown;
  std::size_t characters = 0;
  std::size_t i = 0;
  while (i < text.size() && characters < limit) {
    unsigned long code = 0;
    const std::size_t length = utf8Length(text, i, &code);
    if (length == 0 || code < 0x20 || code == 0x7F) {
      shown += hexByte(static_cast<unsigned char>(text[i]));
      ++i;
    } else {
      shown.append(text, i, length);
      i += length;
    }
    ++characters;
  }
  if (i < text.size()) shown += "... (" + std::to_string(text.size()) + " bytes)";
  return shown;
}

// Escaped as echoed() escapes, never cut: for a text its message cuts by a
// rule of its own.
inline std::string escaped(const std::string& text) { return echoed(text, text.size()); }

// A text that a message shows as it stands, already cut and escaped.
struct Shown {
  std::string text;
};

}  // namespace text
