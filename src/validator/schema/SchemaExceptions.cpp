#include "validator/schema/SchemaExceptions.hpp"

namespace jsv {

InvalidSchemaException::InvalidSchemaException(const JsonPointer& pointer, const std::string& message)
    : SchemaValidationException(pointerText(pointer) + ": " + message) {}

}  // namespace jsv
