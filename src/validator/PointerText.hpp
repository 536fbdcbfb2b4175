#pragma once
// JSON pointers as the validator writes them: "/" + tokens with "~0" and "~1"
// escapes, the root written as "/".

#include <nlohmann/json.hpp>
#include <string>

namespace jsv {

using JsonPointer = nlohmann::json::json_pointer;

std::string pointerText(const JsonPointer& pointer);

// Byte order of the escaped texts, the root (empty text here) first, so that
// /RESULTS/EXPORT/10 comes before /RESULTS/EXPORT/2.
struct PointerTextOrder {
  bool operator()(const JsonPointer& left, const JsonPointer& right) const;
};

}  // namespace jsv
