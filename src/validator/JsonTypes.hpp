#pragma once
// The six type names of the dialect and their codes.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace jsv {

enum TypeCode : int { IntegerType = 1, NumberType = 2, StringType = 3, ObjectType = 4, ArrayType = 5, BooleanType = 6 };

std::optional<TypeCode> typeCodeNamed(const std::string& name);

// A floating value never matches "integer", even 2.0; null matches nothing.
bool matchesType(const nlohmann::json& value, int code);

// "an integer", "a number", "a string", "an object", "an array", "a
// boolean"; any other code is "of a different type".
std::string typePhrase(int code);

}  // namespace jsv
