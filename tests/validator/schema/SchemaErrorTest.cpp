// Every schema outside the dialect ends the run with its one message.

#include <gtest/gtest.h>

#include "support/ValidationRun.hpp"
#include "validator/schema/SchemaExceptions.hpp"

using jsv::ValidationStatus;
using validator_testing::schemaErrorReport;
using validator_testing::validateTexts;

namespace {

void expectSchemaError(const std::string& document, const std::string& schema, const std::string& line) {
  const auto run = validateTexts(document, schema);
  EXPECT_EQ(run.status, ValidationStatus::Errors) << schema;
  EXPECT_EQ(run.printed, schemaErrorReport(line)) << schema;
}

}  // namespace

TEST(SchemaErrors, NodeThatIsNeitherObjectNorBoolean) {
  expectSchemaError("1", "5", "/: A schema must be defined by either an object or a boolean.");
  expectSchemaError("[1]", R"({"items": [true]})", "/items: A schema must be defined by either an object or a boolean.");
  expectSchemaError(R"({"a": 1})", R"({"properties": {"a": null}, "optional": ["a"]})",
                    "/properties/a: A schema must be defined by either an object or a boolean.");
}

TEST(SchemaErrors, UnsupportedKeyword) {
  expectSchemaError("1", R"({"additionalProperties": false})", "/additionalProperties: The keyword 'additionalProperties' is not supported.");
  expectSchemaError("1", R"({"Type": "integer"})", "/Type: The keyword 'Type' is not supported.");
}

TEST(SchemaErrors, ParameterTypeMessages) {
  expectSchemaError("1", R"({"minimum": "3"})", "/minimum: This keyword requires a number parameter.");
  expectSchemaError("1", R"({"maximum": true})", "/maximum: This keyword requires a number parameter.");
  expectSchemaError("1", R"({"const": 1})", "/const: This keyword requires a string parameter.");
  expectSchemaError("1", R"({"type": 1})", "/type: This keyword requires a string parameter.");
  expectSchemaError("1", R"({"description": []})", "/description: This keyword requires a string parameter.");
  expectSchemaError("1", R"({"properties": []})", "/properties: This keyword requires an object parameter.");
  expectSchemaError("1", R"({"requiredIn": "x"})", "/requiredIn: This keyword requires an object parameter.");
  expectSchemaError("1", R"({"enum": "xdmf"})", "/enum: This keyword requires an array parameter.");
  expectSchemaError("1", R"({"required": {}})", "/required: This keyword requires an array parameter.");
  expectSchemaError("1", R"({"optional": "a"})", "/optional: This keyword requires an array parameter.");
  expectSchemaError("1", R"({"oneOf": {}})", "/oneOf: This keyword requires an array parameter.");
  expectSchemaError("1", R"({"allOf": 1})", "/allOf: This keyword requires an array parameter.");
  expectSchemaError("1", R"({"enum": ["a", 2]})", "/enum/1: This keyword requires a string parameter.");
}

TEST(SchemaErrors, ExclusiveModifierMustBeBooleanWhenMinimumOrMaximumReadsIt) {
  expectSchemaError("1", R"({"minimum": 0, "exclusiveMinimum": "yes"})",
                    "/exclusiveMinimum: This keyword requires a boolean parameter.");
  expectSchemaError("1", R"({"maximum": 0, "exclusiveMaximum": 1})",
                    "/exclusiveMaximum: This keyword requires a boolean parameter.");
  EXPECT_EQ(validateTexts("1", R"({"exclusiveMinimum": "yes"})").status, ValidationStatus::NoIssues);
}

TEST(SchemaErrors, TypeNameIsExact) {
  expectSchemaError("1", R"({"type": "Integer"})", "/type: The provided type is invalid.");
  expectSchemaError(R"({"RESULTS": 1})", R"({"properties": {"RESULTS": {"type": "null"}}})",
                    "/properties/RESULTS/type: The provided type is invalid.");
}

TEST(SchemaErrors, DefaultAndFormat) {
  expectSchemaError("1", R"({"default": null})", "/default: Only string, numeric, and boolean default values are supported.");
  expectSchemaError("1", R"({"default": {}})", "/default: Only string, numeric, and boolean default values are supported.");
  expectSchemaError("1", R"({"format": "date"})", "/format: Only the 'uri' format is currently supported.");
  for (const char* accepted : {R"({"default": 0})", R"({"default": ""})", R"({"default": false})", R"({"format": "uri"})"})
    EXPECT_EQ(validateTexts("1", accepted).status, ValidationStatus::NoIssues) << accepted;
}

TEST(SchemaErrors, OneOfNamesForm) {
  expectSchemaError("{}", R"({"oneOf": [{"required": ["a"]}, {"description": "b"}]})", "/oneOf/1/required: This item is required.");
  expectSchemaError("{}", R"({"oneOf": [{"required": ["a", "b"]}]})", "/oneOf/0/required: Only single items are supported.");
  expectSchemaError("{}", R"({"oneOf": [{"required": {}}]})", "/oneOf/0/required: Only single items are supported.");
  expectSchemaError("{}", R"({"oneOf": [{"required": "a"}]})", "/oneOf/0/required: This keyword requires an array parameter.");
  // An alternative that is no object holds no "required" either.
  expectSchemaError("{}", R"({"oneOf": [true]})", "/oneOf/0/required: This item is required.");
  expectSchemaError("{}", R"({"oneOf": [["a"]]})", "/oneOf/0/required: This item is required.");
}

TEST(SchemaErrors, OneOfMixedForms) {
  expectSchemaError("{}", R"({"oneOf": [{"properties": {"k": {"const": "a"}}}, {"required": ["b"]}]})",
                    "/oneOf: The 'properties' keyword must be present in either all or none of the subschemas.");
}

TEST(SchemaErrors, OneOfCasesForm) {
  const std::string caseA = R"({"properties": {"k": {"const": "a"}}})";
  expectSchemaError("{}", R"({"oneOf": [)" + caseA + R"(, {"properties": {"k": {"const": "a"}}}]})",
                    "/oneOf: The cases must be distinct.");
  expectSchemaError("{}", R"({"oneOf": [{"properties": {"k": {"const": "a"}}, "type": "object"}]})",
                    "/oneOf/0/type: Only the keywords 'properties', 'required' and 'oneOf' are supported here.");
  expectSchemaError("{}", R"({"oneOf": [)" + caseA + R"(, {"properties": {"j": {"const": "b"}}}]})",
                    "/oneOf/1/properties/k: This item is required.");
  expectSchemaError("{}", R"({"oneOf": [{"properties": {"k": {"const": "a"}, "j": {}}}]})",
                    "/oneOf/0/properties: Only single items are supported.");
  expectSchemaError("{}", R"({"oneOf": [{"properties": []}]})", "/oneOf/0/properties: This keyword requires an object parameter.");
  expectSchemaError("{}", R"({"oneOf": [{"properties": {"k": {"enum": ["a"]}}}]})", "/oneOf/0/properties/k/const: This item is required.");
  expectSchemaError("{}", R"({"oneOf": [{"properties": {"k": {"const": 1}}}]})", "/oneOf/0/properties/k/const: This keyword requires a string parameter.");
}

TEST(SchemaErrors, AllOfElements) {
  expectSchemaError("{}", R"({"allOf": [1]})", "/allOf/0: This keyword requires an object parameter.");
  expectSchemaError("{}", R"({"allOf": [{}]})", "/allOf/0: Only single items are supported.");
  expectSchemaError("{}", R"({"allOf": [{"anyOf": []}]})", "/allOf/0: Only a single 'oneOf' item is supported here.");
  expectSchemaError("{}", R"({"allOf": [{"oneOf": [{"required": []}]}]})", "/allOf/0/oneOf/0/required: Only single items are supported.");
}

TEST(SchemaErrors, RequiredIn) {
  expectSchemaError(R"("a")", R"({"requiredIn": {"itemProperty": "n"}})", "/requiredIn/$array_ref: This item is required.");
  expectSchemaError(R"("a")", R"({"requiredIn": {"$array_ref": "/L"}})", "/requiredIn/itemProperty: This item is required.");
  expectSchemaError(R"("a")", R"({"requiredIn": {"$array_ref": 1, "itemProperty": "n"}})",
                    "/requiredIn/$array_ref: This keyword requires a string parameter.");
  expectSchemaError(R"("a")", R"({"requiredIn": {"$array_ref": "L", "itemProperty": "n"}})",
                    "/requiredIn/$array_ref: This JSON pointer is invalid.");
  expectSchemaError(R"("a")", R"({"requiredIn": {"$array_ref": "/a~2", "itemProperty": "n"}})",
                    "/requiredIn/$array_ref: This JSON pointer is invalid.");
}

TEST(SchemaErrors, FirstErrorInKeywordOrderWinsAndNothingElseIsPrinted) {
  expectSchemaError("{}", R"({"zeta": 1, "const": 2, "required": ["a"]})", "/const: This keyword requires a string parameter.");
}

TEST(SchemaErrors, UnreachedSubschemasAreNotExamined) {
  const std::string schema = R"({"type": "object", "optional": ["a"], "properties": {"a": {"minimum": "3"}}})";
  EXPECT_EQ(validateTexts("{}", schema).status, ValidationStatus::NoIssues);
  expectSchemaError(R"({"a": 1})", schema, "/properties/a/minimum: This keyword requires a number parameter.");
}

TEST(SchemaErrors, PointerTokensAreEscaped) {
  expectSchemaError(R"({"a/b~c": 1})", R"({"properties": {"a/b~c": {"no": 1}}})",
                    "/properties/a~1b~0c/no: The keyword 'no' is not supported.");
}
