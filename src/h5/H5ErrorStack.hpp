#pragma once
// The text that HDF5 left on its error stack after a failed call.

#include <string>

namespace h5 {

// "(major) minor" of the innermost entry of the current error stack, which is
// taken off the stack; "Unknown HDF5 error" when the stack is empty.
std::string takeErrorStackText();

// failedAction + ": " + the error stack text, thrown as Failure.
template <typename Failure>
[[noreturn]] void throwFailure(const std::string& failedAction) {
  throw Failure(failedAction + ": " + takeErrorStackText());
}

}  // namespace h5
