#pragma once
// A failure of a library call that can be told again in other words while it
// keeps its type: a transaction puts the names the user knows in place of the
// staged names a library saw, and whoever catches the failure still finds
// the kind it was.

#include <exception>
#include <string>

namespace api {

class LibraryFailure {
 public:
  virtual ~LibraryFailure() = default;
  // The same failure, of the same type, with text in place of its own.
  virtual std::exception_ptr withText(const std::string& text) const = 0;
};

}  // namespace api
