#include "validator/schema/SchemaParameters.hpp"

#include "validator/JsonTypes.hpp"
#include "validator/schema/SchemaExceptions.hpp"

namespace jsv {

namespace {

[[noreturn]] void wrongParameterType(const JsonPointer& at, int typeCode) {
  throw InvalidTypeSchemaException(at, "This keyword requires " + typePhrase(typeCode) + " parameter.");
}

void requireType(const nlohmann::json& parameter, const JsonPointer& at, int typeCode) {
  if (!matchesType(parameter, typeCode)) wrongParameterType(at, typeCode);
}

}  // namespace

const nlohmann::json& requiredMember(const nlohmann::json& object, const JsonPointer& at, const std::string& name) {
  const auto member = object.find(name);
  if (member == object.end()) throw InvalidSchemaException(at / name, "This item is required.");
  return *member;
}

std::string stringParameter(const nlohmann::json& parameter, const JsonPointer& at) {
  requireType(parameter, at, StringType);
  return parameter.get<std::string>();
}

double numberParameter(const nlohmann::json& parameter, const JsonPointer& at) {
  requireType(parameter, at, NumberType);
  return parameter.get<double>();
}

void requireObject(const nlohmann::json& parameter, const JsonPointer& at) { requireType(parameter, at, ObjectType); }

void requireArray(const nlohmann::json& parameter, const JsonPointer& at) { requireType(parameter, at, ArrayType); }

std::vector<std::string> stringListParameter(const nlohmann::json& parameter, const JsonPointer& at) {
  requireArray(parameter, at);
  std::vector<std::string> strings;
  for (std::size_t index = 0; index < parameter.size(); ++index)
    strings.push_back(stringParameter(parameter[index], at / index));
  return strings;
}

void requireSingleEntry(const nlohmann::json& parameter, const JsonPointer& at) {
  if (parameter.size() != 1) throw InvalidSchemaException(at, "Only single items are supported.");
}

}  // namespace jsv
