#include "results/files/XmlSafeName.hpp"

#include <cstdio>

#include "interfaces/EchoedText.hpp"
#include "interfaces/Failure.hpp"

namespace results {
namespace {

bool isRefusedControl(unsigned long code) { return code < 0x20 && code != '\t'; }

// U+FFFE and U+FFFF are UTF-8 but no XML characters: a reader stops at them.
bool isNoXmlCharacter(unsigned long code) { return code == 0xFFFE || code == 0xFFFF; }

std::string codePoint(unsigned long code) {
  char text[16];
  std::snprintf(text, sizeof(text), "U+%04lX", code);
  return text;
}

// What makes the character at i unwritable, or "" when XML carries it; its
// length goes to *length.
std::string offenceAt(const std::string& name, std::size_t i, std::size_t* length) {
  unsigned long code = 0;
  *length = text::utf8Length(name, i, &code);
  const unsigned char byte = static_cast<unsigned char>(name[i]);
  if (*length == 0) {
    *length = 1;
    return "the byte " + text::hexByte(byte) + ", which is not UTF-8";
  }
  if (isRefusedControl(code)) return "the control character " + text::hexByte(byte);
  if (isNoXmlCharacter(code)) return "the character " + codePoint(code) + ", which XML does not carry";
  return std::string();
}

}  // namespace

void requireXmlSafeName(const std::string& what, const std::string& name) {
  for (std::size_t i = 0; i < name.size();) {
    std::size_t length = 0;
    const std::string offence = offenceAt(name, i, &length);
    if (!offence.empty())
      failure::fail("the ", what, " name <", name, "> cannot be written into an XML document: it holds ",
                    offence);
    i += length;
  }
}

}  // namespace results
