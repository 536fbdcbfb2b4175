#include "validator/PointerText.hpp"

namespace jsv {

std::string pointerText(const JsonPointer& pointer) { return pointer.empty() ? "/" : pointer.to_string(); }

bool PointerTextOrder::operator()(const JsonPointer& left, const JsonPointer& right) const {
  return left.to_string() < right.to_string();
}

}  // namespace jsv
