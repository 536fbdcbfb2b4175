// The walk: keyword checks, accounted members, statuses and early stops.

#include <gtest/gtest.h>

#include "support/ValidationRun.hpp"

using jsv::ValidationStatus;
using validator_testing::validateTexts;

namespace {

std::string printed(const std::string& document, const std::string& schema) {
  return validateTexts(document, schema).printed;
}

}  // namespace

TEST(ValidationWalk, BooleanSchemas) {
  EXPECT_EQ(validateTexts(R"({"a": [1, null]})", "true").status, ValidationStatus::NoIssues);
  const auto rejected = validateTexts("1", "false");
  EXPECT_EQ(rejected.status, ValidationStatus::Errors);
  EXPECT_EQ(rejected.printed, "/: Error: This item is invalid.\n");
}

TEST(ValidationWalk, DescribedButUnexpectedMemberIsValidatedAndIgnored) {
  const std::string schema = R"({"type": "object", "properties": {"a": {"type": "integer"}}})";
  const auto run = validateTexts(R"({"a": 1})", schema);
  EXPECT_EQ(run.status, ValidationStatus::WarningsOnly);
  EXPECT_EQ(run.printed, "/a: Warning: The value of this item will not be used.\n");
  EXPECT_EQ(printed(R"({"a": 1.5})", schema), "/a: Error: This value must be an integer.\n");
  const std::string withOptional = R"({"type": "object", "optional": ["a"], "properties": {"a": {"type": "integer"}}})";
  EXPECT_EQ(validateTexts(R"({"a": 1})", withOptional).status, ValidationStatus::NoIssues);
}

TEST(ValidationWalk, TypeCodes) {
  EXPECT_EQ(printed("2.0", R"({"type": "integer"})"), "/: Error: This value must be an integer.\n");
  EXPECT_EQ(printed("18446744073709551615", R"({"type": "integer"})"), "");
  EXPECT_EQ(printed(R"("1")", R"({"type": "number"})"), "/: Error: This value must be a number.\n");
  EXPECT_EQ(printed("1", R"({"type": "string"})"), "/: Error: This value must be a string.\n");
  EXPECT_EQ(printed("null", R"({"type": "object"})"), "/: Error: This value must be an object.\n");
  EXPECT_EQ(printed("{}", R"({"type": "array"})"), "/: Error: This value must be an array.\n");
  EXPECT_EQ(printed("0", R"({"type": "boolean"})"), "/: Error: This value must be a boolean.\n");
  EXPECT_EQ(printed("false", R"({"type": "boolean"})"), "");
}

TEST(ValidationWalk, ConstAndEnumCompareStringsExactly) {
  EXPECT_EQ(printed(R"("on")", R"({"const": "on"})"), "");
  EXPECT_EQ(printed(R"("On")", R"({"const": "on"})"), "/: Error: This value must be equal to 'on'.\n");
  EXPECT_EQ(printed("1", R"({"const": "1"})"), "/: Error: This value must be equal to '1'.\n");
  EXPECT_EQ(printed(R"("c")", R"({"enum": ["a", "b"]})"), "/: Error: This value must be equal to one of the following: 'a', 'b'.\n");
  EXPECT_EQ(printed(R"("c")", R"({"enum": []})"), "/: Error: This value must be equal to one of the following.\n");
}

TEST(ValidationWalk, BoundsApplyToNumbersOnlyAndPrintSixDecimals) {
  EXPECT_EQ(printed("-1", R"({"minimum": 0})"), "/: Error: This value must be greater than or equal to 0.000000.\n");
  EXPECT_EQ(printed("0", R"({"minimum": 0})"), "");
  EXPECT_EQ(printed("1.5", R"({"minimum": 1.5, "exclusiveMinimum": true})"), "/: Error: This value must be greater than 1.500000.\n");
  EXPECT_EQ(printed("1.5", R"({"minimum": 1.5, "exclusiveMinimum": false})"), "");
  EXPECT_EQ(printed("3", R"({"maximum": 2})"), "/: Error: This value must be less than or equal to 2.000000.\n");
  EXPECT_EQ(printed("2", R"({"maximum": 2, "exclusiveMaximum": true})"), "/: Error: This value must be less than 2.000000.\n");
  // A bound that is not exclusive admits the bound itself.
  EXPECT_EQ(printed("2", R"({"maximum": 2})"), "");
  EXPECT_EQ(printed("2", R"({"maximum": 2, "exclusiveMaximum": false})"), "");
  EXPECT_EQ(printed(R"("-5")", R"({"minimum": 0})"), "");
  EXPECT_EQ(printed("0", R"({"exclusiveMinimum": true})"), "");
  const std::string huge = printed("-1e308", R"({"minimum": 1e308})");
  EXPECT_EQ(huge.rfind("/: Error: This value must be greater than or equal to 1000", 0), 0u);
  EXPECT_EQ(huge.substr(huge.size() - 9), ".000000.\n");
}

TEST(ValidationWalk, OneOfNames) {
  const std::string schema = R"({"oneOf": [{"required": ["b"]}, {"required": ["a"]}, {"required": ["c"]}]})";
  EXPECT_EQ(validateTexts(R"({"a": 1})", schema).status, ValidationStatus::NoIssues);
  EXPECT_EQ(printed("{}", schema), "/: Error: One of the following items must be provided: 'b', 'a', 'c'.\n");
  EXPECT_EQ(printed(R"({"c": 1, "b": 2, "a": 3})", schema), "/: Error: Only one of the following two items is allowed: 'a', 'b'.\n");
  EXPECT_EQ(printed("{}", R"({"oneOf": []})"), "/: Error: One of the following items must be provided.\n");
  EXPECT_EQ(printed("[]", R"({"oneOf": []})"), "");
}

// Two present names are already one too many; both count as accounted, so
// neither is reported as ignored.
TEST(ValidationWalk, OneOfNamesWithExactlyTwoPresent) {
  const std::string schema = R"({"oneOf": [{"required": ["b"]}, {"required": ["a"]}, {"required": ["c"]}]})";
  EXPECT_EQ(validateTexts(R"({"c": 1, "b": 2})", schema).status, ValidationStatus::Errors);
  const std::string onlyOne = "/: Error: Only one of the following two items is allowed: ";
  EXPECT_EQ(printed(R"({"c": 1, "b": 2})", schema), onlyOne + "'b', 'c'.\n");
  EXPECT_EQ(printed(R"({"a": 1, "c": 2})", schema), onlyOne + "'a', 'c'.\n");
}

TEST(ValidationWalk, OneOfCases) {
  const std::string schema = R"({"type": "object", "properties": {"kind": {"type": "string"}, "w": {"type": "number"}},
    "oneOf": [{"properties": {"kind": {"const": "wide"}}, "required": ["w"]},
              {"properties": {"kind": {"const": "flat"}}}]})";
  EXPECT_EQ(validateTexts(R"({"kind": "wide", "w": 1})", schema).status, ValidationStatus::NoIssues);
  EXPECT_EQ(printed(R"({"kind": "wide"})", schema), "/w: Error: This item is required but missing.\n");
  EXPECT_EQ(printed(R"({"kind": "flat", "w": 1})", schema), "/w: Warning: The value of this item will not be used.\n");
  EXPECT_EQ(printed(R"({"kind": "round"})", schema),
            "/kind: Error: This value must be equal to one of the following: 'flat', 'wide'.\n");
  EXPECT_EQ(printed(R"({"kind": 1})", schema), "/kind: Error: This value must be a string.\n");
  EXPECT_EQ(printed(R"({})", schema), "/kind: Error: This item is required but missing.\n");
}

TEST(ValidationWalk, AllOfAppliesEveryOneOf) {
  const std::string schema = R"({"allOf": [{"oneOf": [{"required": ["a"]}, {"required": ["b"]}]},
                                           {"oneOf": [{"required": ["c"]}, {"required": ["d"]}]}]})";
  EXPECT_EQ(validateTexts(R"({"a": 1, "d": 1})", schema).status, ValidationStatus::NoIssues);
  EXPECT_EQ(printed(R"({"a": 1})", schema), "/: Error: One of the following items must be provided: 'c', 'd'.\n");
}

TEST(ValidationWalk, RequiredInLooksUpTheReferencedArray) {
  const std::string schema = R"({"type": "object", "required": ["L", "v"], "properties": {"v": {"requiredIn":
    {"$array_ref": "/L", "itemProperty": "name"}}}})";
  EXPECT_EQ(validateTexts(R"({"L": [{"name": "x"}, 3, {"name": 4}], "v": "x"})", schema).status, ValidationStatus::NoIssues);
  EXPECT_EQ(printed(R"({"L": [{"name": "x"}], "v": "y"})", schema), "/v: Error: This value must match a 'name' in '/L'.\n");
  EXPECT_EQ(printed(R"({"L": [{"name": "1"}], "v": 1})", schema), "/v: Error: This value must match a 'name' in '/L'.\n");
  EXPECT_EQ(printed(R"({"L": {"name": "x"}, "v": "x"})", schema), "/v: Error: This value must match a 'name' in '/L'.\n");
  const std::string farIndex = R"({"requiredIn": {"$array_ref": "/99999999999999999999999", "itemProperty": "n"}})";
  EXPECT_EQ(printed(R"("x")", farIndex), "/: Error: This value must match a 'n' in '/99999999999999999999999'.\n");
}

TEST(ValidationWalk, ItemsApplyOnlyToArrays) {
  const std::string schema = R"({"items": {"type": "integer"}})";
  EXPECT_EQ(printed("[1, 2.5, 3, 4.5]", schema), "/1: Error: This value must be an integer.\n/3: Error: This value must be an integer.\n");
  EXPECT_EQ(printed(R"("s")", schema), "");
  EXPECT_EQ(printed("{}", R"({"items": 5})"), "");
}

TEST(ValidationWalk, MemberNamesWithSlashOrTildeAreEscaped) {
  EXPECT_EQ(printed(R"({"a/b": 1, "c~d": 2})", R"({"type": "object"})"),
            "/a~1b: Warning: The value of this item will not be used.\n"
            "/c~0d: Warning: The value of this item will not be used.\n");
}

TEST(ValidationWalk, ValidatorCanBeUsedAgainAndNullStreamPrintsNothing) {
  jsv::JsonValidator silent(nullptr);
  std::istringstream document("{}");
  std::istringstream schema(R"({"required": ["a"]})");
  EXPECT_EQ(silent.validate(document, schema), ValidationStatus::Errors);
  std::istringstream again("{\"a\": 1}");
  std::istringstream schemaAgain(R"({"required": ["a"]})");
  EXPECT_EQ(silent.validate(again, schemaAgain), ValidationStatus::NoIssues);
}

