#include "results/files/XmlSafeName.hpp"

#include <cstdio>

#include "interfaces/Failure.hpp"

namespace results {
namespace {

unsigned char byteAt(const std::string& text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

bool isRefusedControl(unsigned char byte) { return byte < 0x20 && byte != '\t'; }

// The length of the UTF-8 sequence that starts at i, or 0 when it is not one:
// overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
std::size_t sequenceLength(const std::string& text, std::size_t i) {
  const unsigned char lead = byteAt(text, i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned long code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byteAt(text, i + k) & 0xC0u) != 0x80u) return 0;
    code = (code << 6) | (byteAt(text, i + k) & 0x3Fu);
  }
  const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string hexByte(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof(text), "\\x%02x", byte);
  return text;
}

// The name on one line: control characters and stray bytes as \xNN.
std::string visible(const std::string& name) {
  std::string shown;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t length = sequenceLength(name, i);
    if (length == 0 || isRefusedControl(byteAt(name, i))) {
      shown += hexByte(byteAt(name, i));
      ++i;
    } else {
      shown.append(name, i, length);
      i += length;
    }
  }
  return shown;
}

}  // namespace

void requireXmlSafeName(const std::string& what, const std::string& name) {
  for (std::size_t i = 0; i < name.size();) {
    const unsigned char byte = byteAt(name, i);
    const std::size_t length = sequenceLength(name, i);
    if (isRefusedControl(byte) || length == 0) {
      const std::string offence = length == 0 ? "the byte " + hexByte(byte) + ", which is not UTF-8"
                                              : "the control character " + hexByte(byte);
      failure::fail("the ", what, " name <", visible(name), "> cannot be written into an XML document: it holds ",
                    offence);
    }
    i += length;
  }
}

}  // namespace results
