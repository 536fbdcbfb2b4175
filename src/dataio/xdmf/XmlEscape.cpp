#include "dataio/xdmf/XmlEscape.hpp"

namespace dataio {

namespace {

std::string escapedText(const std::string& text, bool attributeValue) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char character : text) {
    switch (character) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\t': escaped += attributeValue ? "&#9;" : "\t"; break;
      default: escaped += character;
    }
  }
  return escaped;
}

}  // namespace

std::string escapeXml(const std::string& text) { return escapedText(text, false); }

std::string escapeXmlAttribute(const std::string& text) { return escapedText(text, true); }

}  // namespace dataio
