#pragma once
// What the program's own failure report printed before its BaseException.

#include <string>

#include "interfaces/Failure.hpp"
#include "support/CerrCapture.hpp"

namespace testing_support {

// The lines printed on std::cerr before a BaseException, or a note saying that
// none was thrown.
template <typename Action>
std::string failureReport(Action action) {
  CerrCapture captured;
  try {
    action();
  } catch (const BaseException&) {
    return captured.text();
  }
  return "no BaseException";
}

}  // namespace testing_support
