#include <algorithm>
#include <set>

#include "validator/schema/Keywords.hpp"
#include "validator/schema/SchemaExceptions.hpp"
#include "validator/schema/SchemaParameters.hpp"

using nlohmann::json;

namespace jsv {

namespace {

bool hasProperties(const json& alternative) { return alternative.is_object() && alternative.contains("properties"); }

// Names form: every alternative is {"required": ["name"]}.
OneOfNames compileNames(const json& alternatives, const JsonPointer& at) {
  OneOfNames oneOf;
  for (std::size_t index = 0; index < alternatives.size(); ++index) {
    const JsonPointer alternativeAt = at / index;
    // An alternative that is no object holds no "required" either (find gives end()).
    const json& required = requiredMember(alternatives[index], alternativeAt, "required");
    const JsonPointer requiredAt = alternativeAt / "required";
    if (required.is_object() || required.is_array()) requireSingleEntry(required, requiredAt);
    requireArray(required, requiredAt);
    oneOf.names.push_back(stringParameter(required[0], requiredAt / 0));
  }
  return oneOf;
}

void requireCaseKeywordsOnly(const json& alternative, const JsonPointer& alternativeAt) {
  for (const auto& member : alternative.items()) {
    const std::string& name = member.key();
    if (name != "properties" && name != "required" && name != "oneOf")
      throw InvalidSchemaException(alternativeAt / name,
                                   "Only the keywords 'properties', 'required' and 'oneOf' are supported here.");
  }
}

// {"properties": {discriminator: {"const": constant}}, "required": [...], "oneOf": [...]}
OneOfCase compileCase(const json& alternative, const JsonPointer& alternativeAt, const std::string& discriminator) {
  requireCaseKeywordsOnly(alternative, alternativeAt);
  const json& properties = alternative["properties"];
  const JsonPointer propertiesAt = alternativeAt / "properties";
  requireObject(properties, propertiesAt);
  requireSingleEntry(properties, propertiesAt);
  const json& caseSchema = requiredMember(properties, propertiesAt, discriminator);
  const JsonPointer caseAt = propertiesAt / discriminator;
  requireObject(caseSchema, caseAt);
  requireSingleEntry(caseSchema, caseAt);
  const json& constant = requiredMember(caseSchema, caseAt, "const");
  return OneOfCase{stringParameter(constant, caseAt / "const"), &alternative, alternativeAt};
}

// The discriminator is the one member that the first case describes.
std::string discriminatorOf(const json& alternatives, const JsonPointer& at) {
  const json& properties = alternatives[0]["properties"];
  const JsonPointer propertiesAt = at / 0 / "properties";
  requireObject(properties, propertiesAt);
  requireSingleEntry(properties, propertiesAt);
  return properties.begin().key();
}

OneOfCases compileCases(const json& alternatives, const JsonPointer& at) {
  OneOfCases oneOf{discriminatorOf(alternatives, at), {}};
  std::set<std::string> constants;
  for (std::size_t index = 0; index < alternatives.size(); ++index) {
    oneOf.cases.push_back(compileCase(alternatives[index], at / index, oneOf.discriminator));
    if (!constants.insert(oneOf.cases.back().constant).second)
      throw InvalidSchemaException(at, "The cases must be distinct.");
  }
  return oneOf;
}

}  // namespace

OneOfKeyword compileOneOf(const json& parameter, const JsonPointer& at) {
  requireArray(parameter, at);
  const auto withProperties = std::count_if(parameter.begin(), parameter.end(), hasProperties);
  if (withProperties == 0) return compileNames(parameter, at);
  if (static_cast<std::size_t>(withProperties) != parameter.size())
    throw InvalidSchemaException(at, "The 'properties' keyword must be present in either all or none of the subschemas.");
  return compileCases(parameter, at);
}

}  // namespace jsv
