#include <map>

#include "validator/JsonTypes.hpp"
#include "validator/schema/Keywords.hpp"
#include "validator/schema/SchemaExceptions.hpp"
#include "validator/schema/SchemaParameters.hpp"

using nlohmann::json;

namespace jsv {

namespace {

using Compiler = Keyword (*)(const SchemaNode& node, const json& parameter, const JsonPointer& at);

Keyword passedOver(const SchemaNode&, const json&, const JsonPointer&) { return PassedOverKeyword{}; }

Keyword compileType(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  const auto code = typeCodeNamed(stringParameter(parameter, at));
  if (!code) throw InvalidSchemaException(at, "The provided type is invalid.");
  return TypeKeyword{*code};
}

Keyword compileConst(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return ConstKeyword{stringParameter(parameter, at)};
}

Keyword compileEnum(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return EnumKeyword{stringListParameter(parameter, at)};
}

// The sibling "exclusiveMinimum" or "exclusiveMaximum" of the same schema object.
bool exclusiveModifier(const SchemaNode& node, const std::string& modifier) {
  const auto flag = node.value.find(modifier);
  if (flag == node.value.end()) return false;
  if (!flag->is_boolean())
    throw InvalidTypeSchemaException(node.pointer / modifier, "This keyword requires a boolean parameter.");
  return flag->get<bool>();
}

Keyword compileMinimum(const SchemaNode& node, const json& parameter, const JsonPointer& at) {
  const double bound = numberParameter(parameter, at);
  return MinimumKeyword{bound, exclusiveModifier(node, "exclusiveMinimum")};
}

Keyword compileMaximum(const SchemaNode& node, const json& parameter, const JsonPointer& at) {
  const double bound = numberParameter(parameter, at);
  return MaximumKeyword{bound, exclusiveModifier(node, "exclusiveMaximum")};
}

Keyword compileRequired(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return RequiredKeyword{stringListParameter(parameter, at)};
}

Keyword compileOptional(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return OptionalKeyword{stringListParameter(parameter, at)};
}

Keyword compileProperties(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  requireObject(parameter, at);
  return PropertiesKeyword{&parameter, at};
}

// The subschema itself is checked when the walk reaches it.
Keyword compileItems(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return ItemsKeyword{&parameter, at};
}

Keyword compileOneOfKeyword(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return compileOneOf(parameter, at);
}

Keyword compileAllOf(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  requireArray(parameter, at);
  AllOfKeyword allOf;
  for (std::size_t index = 0; index < parameter.size(); ++index) {
    const json& element = parameter[index];
    const JsonPointer elementAt = at / index;
    requireObject(element, elementAt);
    requireSingleEntry(element, elementAt);
    if (!element.contains("oneOf"))
      throw InvalidSchemaException(elementAt, "Only a single 'oneOf' item is supported here.");
    allOf.oneOfs.push_back(compileOneOf(element["oneOf"], elementAt / "oneOf"));
  }
  return allOf;
}

Keyword compileRequiredIn(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  requireObject(parameter, at);
  const JsonPointer referenceAt = at / "$array_ref";
  const std::string reference = stringParameter(requiredMember(parameter, at, "$array_ref"), referenceAt);
  const std::string itemProperty =
      stringParameter(requiredMember(parameter, at, "itemProperty"), at / "itemProperty");
  try {
    return RequiredInKeyword{JsonPointer(reference), itemProperty};
  } catch (const json::exception&) {
    throw InvalidSchemaException(referenceAt, "This JSON pointer is invalid.");
  }
}

Keyword compileDefault(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  if (!parameter.is_string() && !parameter.is_number() && !parameter.is_boolean())
    throw InvalidTypeSchemaException(at, "Only string, numeric, and boolean default values are supported.");
  return DefaultKeyword{parameter};
}

Keyword compileFormat(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  const std::string format = stringParameter(parameter, at);
  if (format != "uri") throw InvalidSchemaException(at, "Only the 'uri' format is currently supported.");
  return FormatKeyword{format};
}

Keyword compileDescription(const SchemaNode&, const json& parameter, const JsonPointer& at) {
  return DescriptionKeyword{stringParameter(parameter, at)};
}

// The whole dialect.
const std::map<std::string, Compiler>& keywordTable() {
  static const std::map<std::string, Compiler> table{
      {"$schema", passedOver},           {"allOf", compileAllOf},
      {"const", compileConst},           {"default", compileDefault},
      {"description", compileDescription}, {"enum", compileEnum},
      {"exclusiveMaximum", passedOver},  {"exclusiveMinimum", passedOver},
      {"format", compileFormat},         {"items", compileItems},
      {"maximum", compileMaximum},       {"minimum", compileMinimum},
      {"oneOf", compileOneOfKeyword},    {"optional", compileOptional},
      {"properties", compileProperties}, {"required", compileRequired},
      {"requiredIn", compileRequiredIn}, {"type", compileType}};
  return table;
}

}  // namespace

Keyword compileKeyword(const SchemaNode& node, const std::string& name) {
  const JsonPointer at = node.pointer / name;
  const auto compiler = keywordTable().find(name);
  if (compiler == keywordTable().end()) throw InvalidSchemaException(at, "The keyword '" + name + "' is not supported.");
  return compiler->second(node, node.value[name], at);
}

}  // namespace jsv
