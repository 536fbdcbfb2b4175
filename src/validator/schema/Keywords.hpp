#pragma once
// The recognised keywords of the schema dialect, each with its checked
// parameter, as the walk applies them. Subschemas stay in the schema document
// and are referred to with their pointers.

#include <absl/types/variant.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "validator/PointerText.hpp"

namespace jsv {

// A schema object together with where it stands in the schema document.
struct SchemaNode {
  const nlohmann::json& value;
  JsonPointer pointer;
};

struct TypeKeyword {
  int typeCode;
};
struct ConstKeyword {
  std::string constant;
};
struct EnumKeyword {
  std::vector<std::string> allowed;
};
struct MinimumKeyword {
  double bound;
  bool exclusive;
};
struct MaximumKeyword {
  double bound;
  bool exclusive;
};
struct RequiredKeyword {
  std::vector<std::string> names;
};
struct PropertiesKeyword {
  const nlohmann::json* subschemas;
  JsonPointer pointer;
};
struct ItemsKeyword {
  const nlohmann::json* subschema;
  JsonPointer pointer;
};
// Exactly one of several member names.
struct OneOfNames {
  std::vector<std::string> names;
};
// One case of an object, chosen by the string constant of its discriminator.
struct OneOfCase {
  std::string constant;
  const nlohmann::json* alternative;
  JsonPointer pointer;
};
struct OneOfCases {
  std::string discriminator;
  std::vector<OneOfCase> cases;
};
using OneOfKeyword = absl::variant<OneOfNames, OneOfCases>;
struct AllOfKeyword {
  std::vector<OneOfKeyword> oneOfs;
};
struct RequiredInKeyword {
  JsonPointer arrayReference;
  std::string itemProperty;
};
struct OptionalKeyword {
  std::vector<std::string> names;
};
struct DefaultKeyword {
  nlohmann::json value;
};
struct FormatKeyword {
  std::string format;
};
struct DescriptionKeyword {
  std::string description;
};
// "$schema", and the modifiers that "minimum" and "maximum" read themselves.
struct PassedOverKeyword {};

using Keyword = absl::variant<TypeKeyword, ConstKeyword, EnumKeyword, MinimumKeyword, MaximumKeyword, RequiredKeyword,
                              PropertiesKeyword, ItemsKeyword, OneOfKeyword, AllOfKeyword, RequiredInKeyword,
                              OptionalKeyword, DefaultKeyword, FormatKeyword, DescriptionKeyword, PassedOverKeyword>;

// Recognises the member `name` of a schema object and checks its parameter;
// throws the InvalidSchemaException family for anything outside the dialect.
Keyword compileKeyword(const SchemaNode& node, const std::string& name);

OneOfKeyword compileOneOf(const nlohmann::json& parameter, const JsonPointer& at);

}  // namespace jsv
