#include "model/compose/ModelDefinition.hpp"

#include <algorithm>

namespace model {

std::vector<std::string> splitAtPoints(const std::string& text) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (c != '.') {
      piece += c;
    } else if (!piece.empty()) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

std::vector<std::string> definitionPieces(const std::string& definition) {
  const std::size_t slash = definition.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : definition.substr(0, slash + 1);
  std::vector<std::string> pieces = splitAtPoints(definition.substr(folder.size()));
  if (!pieces.empty()) pieces.front() = folder + pieces.front();
  return pieces;
}

bool isDigitString(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace model
