#pragma once
// The text of the exception that a failing action throws.

#include <exception>
#include <string>

namespace testing_support {

template <typename Action>
std::string exceptionText(Action action) {
  try {
    action();
  } catch (const std::exception& failure) {
    return failure.what();
  }
  return "no exception";
}

}  // namespace testing_support
