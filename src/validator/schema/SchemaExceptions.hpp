#pragma once
// Schema errors: a schema outside the dialect ends the whole validation run.

#include <stdexcept>
#include <string>

#include "validator/PointerText.hpp"

namespace jsv {

class SchemaValidationException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text: pointer text + ": " + message.
class InvalidSchemaException : public SchemaValidationException {
 public:
  InvalidSchemaException(const JsonPointer& pointer, const std::string& message);
};

// A keyword parameter of the wrong JSON type.
class InvalidTypeSchemaException : public InvalidSchemaException {
 public:
  using InvalidSchemaException::InvalidSchemaException;
};

}  // namespace jsv
