#include "validator/JsonTypes.hpp"

#include <map>

namespace jsv {

std::optional<TypeCode> typeCodeNamed(const std::string& name) {
  static const std::map<std::string, TypeCode> codes{
      {"integer", IntegerType}, {"number", NumberType}, {"string", StringType},
      {"object", ObjectType},   {"array", ArrayType},   {"boolean", BooleanType}};
  const auto code = codes.find(name);
  if (code == codes.end()) return std::nullopt;
  return code->second;
}

bool matchesType(const nlohmann::json& value, int code) {
  switch (code) {
    case IntegerType: return value.is_number_integer();
    case NumberType: return value.is_number();
    case StringType: return value.is_string();
    case ObjectType: return value.is_object();
    case ArrayType: return value.is_array();
    case BooleanType: return value.is_boolean();
    default: return false;
  }
}

std::string typePhrase(int code) {
  switch (code) {
    case IntegerType: return "an integer";
    case NumberType: return "a number";
    case StringType: return "a string";
    case ObjectType: return "an object";
    case ArrayType: return "an array";
    case BooleanType: return "a boolean";
    default: return "of a different type";
  }
}

}  // namespace jsv
