#include "h5/H5ErrorStack.hpp"

#include <hdf5.h>

namespace h5 {
namespace {

std::string messageOf(hid_t messageId) {
  H5E_type_t type;
  const ssize_t length = H5Eget_msg(messageId, &type, nullptr, 0);
  if (length <= 0) return "unknown";
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  H5Eget_msg(messageId, &type, text.data(), text.size());
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Walking upward, the first entry is the innermost: where the failure was found.
herr_t keepInnermost(unsigned /*position*/, const H5E_error2_t* entry, void* data) {
  auto& text = *static_cast<std::string*>(data);
  if (text.empty()) text = "(" + messageOf(entry->maj_num) + ") " + messageOf(entry->min_num);
  return 0;
}

}  // namespace

std::string takeErrorStackText() {
  const hid_t stack = H5Eget_current_stack();
  if (stack < 0) return "Unknown HDF5 error";
  std::string text;
  H5Ewalk2(stack, H5E_WALK_UPWARD, keepInnermost, &text);
  H5Eclose_stack(stack);
  return text.empty() ? "Unknown HDF5 error" : text;
}

}  // namespace h5
