// The walk: keyword checks, accounted members and statuses; the schemas outside the dialect and the inputs
// that cannot be parsed (one message, status 2, never a crash); the results configuration.

#include <gtest/gtest.h>

#include "app/ConfigurationSchema.hpp"
#include "support/ValidationRun.hpp"

using namespace jsv;
using validator_testing::validateTexts;

namespace {

struct Case {
  std::string document;
  std::string schema;
  std::string printed;
};

// The status follows the findings: any error makes Errors, warnings alone WarningsOnly.
void expectFindings(const Case& c) {
  SCOPED_TRACE(c.document.substr(0, 300) + " against " + c.schema.substr(0, 300));
  const auto run = validateTexts(c.document, c.schema);
  EXPECT_EQ(run.printed, c.printed);
  const ValidationStatus expected = c.printed.find(": Error: ") != std::string::npos ? ValidationStatus::Errors
                                    : c.printed.empty()                              ? ValidationStatus::NoIssues
                                                                                     : ValidationStatus::WarningsOnly;
  EXPECT_EQ(run.status, expected);
}

const std::string ignored = ": Warning: The value of this item will not be used.\n";
const std::string integer = ": Error: This value must be an integer.\n";
const std::string notXdmf = ": Error: This value must be equal to one of the following: 'xdmf'.\n";
const std::string missing = ": Error: This item is required but missing.\n";
const std::string repeated = ": Warning: This member is given more than once; only its last value is used.\n";

// A schema outside the dialect ends the run with its one message.
void expectSchemaErrors(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.schema);
    const auto run = validateTexts(c.document, c.schema);
    EXPECT_EQ(run.status, ValidationStatus::Errors);
    EXPECT_EQ(run.printed, validator_testing::schemaErrorReport(c.printed));
  }
}

const std::string caseA = R"({"properties": {"k": {"const": "a"}}})";

std::string nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::string exportsOf(const std::string& entries) { return R"({"RESULTS": {"EXPORT": )" + entries + "}}"; }
// One export entry: the format and `members`.
std::string entry(const std::string& members) { return exportsOf(R"([{"format": "xdmf", )" + members + "}]"); }

}  // namespace

// A bound not exclusive admits itself; bounds ignore other types; a described member is validated, then ignored.
TEST(ValidationWalk, EachKeywordReportsExactlyItsViolations) {
  const char* described = R"({"type": "object", "properties": {"a": {"type": "integer"}}})";
  const Case cases[] = {
      {R"({"a": [1, null]})", "true", ""},
      {"1", "false", "/: Error: This item is invalid.\n"},
      {"2.0", R"({"type": "integer"})", "/" + integer},
      {"18446744073709551615", R"({"type": "integer"})", ""},
      {R"("1")", R"({"type": "number"})", "/: Error: This value must be a number.\n"},
      {"1", R"({"type": "string"})", "/: Error: This value must be a string.\n"},
      {"0", R"({"type": "boolean"})", "/: Error: This value must be a boolean.\n"},
      {R"("on")", R"({"const": "on"})", ""},
      {R"("On")", R"({"const": "on"})", "/: Error: This value must be equal to 'on'.\n"},
      {"1", R"({"const": "1"})", "/: Error: This value must be equal to '1'.\n"},
      {R"("c")", R"({"enum": ["a", "b"]})", "/: Error: This value must be equal to one of the following: 'a', 'b'.\n"},
      {R"("c")", R"({"enum": []})", "/: Error: This value must be equal to one of the following.\n"},
      {"-1", R"({"minimum": 0})", "/: Error: This value must be greater than or equal to 0.000000.\n"},
      {"0", R"({"minimum": 0})", ""},
      {"1.5", R"({"minimum": 1.5, "exclusiveMinimum": true})", "/: Error: This value must be greater than 1.500000.\n"},
      {"3", R"({"maximum": 2})", "/: Error: This value must be less than or equal to 2.000000.\n"},
      {"2", R"({"maximum": 2, "exclusiveMaximum": true})", "/: Error: This value must be less than 2.000000.\n"},
      {"2", R"({"maximum": 2})", ""},
      {R"("-5")", R"({"minimum": 0})", ""},
      {"0", R"({"exclusiveMinimum": true})", ""},
      {"[1, 2.5, 3, 4.5]", R"({"items": {"type": "integer"}})", "/1" + integer + "/3" + integer},
      {R"("s")", R"({"items": {"type": "integer"}})", ""},
      {R"({"a/b": 1, "c~d": 2})", R"({"type": "object"})", "/a~1b" + ignored + "/c~0d" + ignored},
      {R"({"a": 1})", described, "/a" + ignored},
      {R"({"a": 1.5})", described, "/a" + integer},
      {R"({"a": 1})", R"({"type": "object", "optional": ["a"], "properties": {"a": {"type": "integer"}}})", ""},
      {"{}", R"({"required": ["a"]})", "/a" + missing},
  };
  for (const Case& c : cases) expectFindings(c);
  const std::string huge = validateTexts("-1e308", R"({"minimum": 1e308})").printed;
  EXPECT_EQ(huge.rfind("/: Error: This value must be greater than or equal to 1000", 0), 0u);
  EXPECT_EQ(huge.substr(huge.size() - 9), ".000000.\n");
}

// Two present names are one too many, and both are accounted (not ignored); a case of oneOf selects its members.
TEST(ValidationWalk, CombinationKeywordsReportExactFindings) {
  const char* cases = R"({"type": "object", "properties": {"kind": {"type": "string"}, "w": {"type": "number"}},
    "oneOf": [{"properties": {"kind": {"const": "wide"}}, "required": ["w"]},
              {"properties": {"kind": {"const": "flat"}}}]})";
  const char* names = R"({"oneOf": [{"required": ["b"]}, {"required": ["a"]}, {"required": ["c"]}]})";
  const char* allOf = R"({"allOf": [{"oneOf": [{"required": ["a"]}, {"required": ["b"]}]},
                                    {"oneOf": [{"required": ["c"]}, {"required": ["d"]}]}]})";
  const char* requiredIn = R"({"type": "object", "required": ["L", "v"], "properties": {"v": {"requiredIn":
    {"$array_ref": "/L", "itemProperty": "name"}}}})";
  const std::string onlyOne = "/: Error: Only one of the following two items is allowed: ";
  const std::string noMatch = "/v: Error: This value must match a 'name' in '/L'.\n";
  const Case table[] = {
      {R"({"a": 1})", names, ""},
      {"{}", names, "/: Error: One of the following items must be provided: 'b', 'a', 'c'.\n"},
      {R"({"c": 1, "b": 2, "a": 3})", names, onlyOne + "'a', 'b'.\n"},
      {"{}", R"({"oneOf": []})", "/: Error: One of the following items must be provided.\n"},
      {"[]", R"({"oneOf": []})", ""},
      {R"({"a": 1, "d": 1})", allOf, ""},
      {R"({"a": 1})", allOf, "/: Error: One of the following items must be provided: 'c', 'd'.\n"},
      {R"({"L": [{"name": "x"}, 3, {"name": 4}], "v": "x"})", requiredIn, ""},
      {R"({"L": [{"name": "x"}], "v": "y"})", requiredIn, noMatch},
      {R"({"L": [{"name": "1"}], "v": 1})", requiredIn, noMatch},
      {R"({"L": {"name": "x"}, "v": "x"})", requiredIn, noMatch},
      {R"("x")", R"({"requiredIn": {"$array_ref": "/99999999999999999999999", "itemProperty": "n"}})",
       "/: Error: This value must match a 'n' in '/99999999999999999999999'.\n"},
      {R"({"kind": "wide", "w": 1})", cases, ""},
      {R"({"kind": "wide"})", cases, "/w" + missing},
      {R"({"kind": "flat", "w": 1})", cases, "/w" + ignored},
      {R"({"kind": "round"})", cases,
       "/kind: Error: This value must be equal to one of the following: 'flat', 'wide'.\n"},
      {"{}", cases, "/kind" + missing},
  };
  for (const Case& c : table) expectFindings(c);
}

// The first error in keyword order wins; nothing else is printed.
TEST(SchemaErrors, FirstErrorInKeywordOrderEndsTheRun) {
  expectSchemaErrors({
      {"1", "5", "/: A schema must be defined by either an object or a boolean."},
      {R"({"a": 1})", R"({"properties": {"a": null}, "optional": ["a"]})",
       "/properties/a: A schema must be defined by either an object or a boolean."},
      {"1", R"({"Type": "integer"})", "/Type: The keyword 'Type' is not supported."},
      {R"({"a/b~c": 1})", R"({"properties": {"a/b~c": {"no": 1}}})",
       "/properties/a~1b~0c/no: The keyword 'no' is not supported."},
      {"1", R"({"minimum": "3"})", "/minimum: This keyword requires a number parameter."},
      {"1", R"({"const": 1})", "/const: This keyword requires a string parameter."},
      {"1", R"({"type": 1})", "/type: This keyword requires a string parameter."},
      {"1", R"({"properties": []})", "/properties: This keyword requires an object parameter."},
      {"1", R"({"enum": "xdmf"})", "/enum: This keyword requires an array parameter."},
      {"1", R"({"required": {}})", "/required: This keyword requires an array parameter."},
      {"1", R"({"oneOf": {}})", "/oneOf: This keyword requires an array parameter."},
      {"1", R"({"enum": ["a", 2]})", "/enum/1: This keyword requires a string parameter."},
      {"1", R"({"minimum": 0, "exclusiveMinimum": "yes"})",
       "/exclusiveMinimum: This keyword requires a boolean parameter."},
      {"1", R"({"type": "Integer"})", "/type: The provided type is invalid."},
      {"1", R"({"default": null})", "/default: Only string, numeric, and boolean default values are supported."},
      {"1", R"({"format": "date"})", "/format: Only the 'uri' format is currently supported."},
      {"{}", R"({"zeta": 1, "const": 2, "required": ["a"]})", "/const: This keyword requires a string parameter."},
      {R"({"a": 1})", R"({"type": "object", "optional": ["a"], "properties": {"a": {"minimum": "3"}}})",
       "/properties/a/minimum: This keyword requires a number parameter."},
  });
}

// An alternative that is no object holds no "required" either.
TEST(SchemaErrors, UnsupportedCombinationFormsEndTheRun) {
  expectSchemaErrors({
      {"{}", R"({"oneOf": [{"required": ["a"]}, {"description": "b"}]})", "/oneOf/1/required: This item is required."},
      {"{}", R"({"oneOf": [{"required": ["a", "b"]}]})", "/oneOf/0/required: Only single items are supported."},
      {"{}", R"({"oneOf": [{"required": "a"}]})", "/oneOf/0/required: This keyword requires an array parameter."},
      {"{}", R"({"oneOf": [true]})", "/oneOf/0/required: This item is required."},
      {"{}", R"({"oneOf": [{"properties": {"k": {"const": "a"}}}, {"required": ["b"]}]})",
       "/oneOf: The 'properties' keyword must be present in either all or none of the subschemas."},
      {"{}", R"({"oneOf": [)" + caseA + ", " + caseA + "]}", "/oneOf: The cases must be distinct."},
      {"{}", R"({"oneOf": [{"properties": {"k": {"const": "a"}}, "type": "object"}]})",
       "/oneOf/0/type: Only the keywords 'properties', 'required' and 'oneOf' are supported here."},
      {"{}", R"({"oneOf": [)" + caseA + R"(, {"properties": {"j": {"const": "b"}}}]})",
       "/oneOf/1/properties/k: This item is required."},
      {"{}", R"({"oneOf": [{"properties": {"k": {"const": "a"}, "j": {}}}]})",
       "/oneOf/0/properties: Only single items are supported."},
      {"{}", R"({"oneOf": [{"properties": []}]})", "/oneOf/0/properties: This keyword requires an object parameter."},
      {"{}", R"({"oneOf": [{"properties": {"k": {"enum": ["a"]}}}]})",
       "/oneOf/0/properties/k/const: This item is required."},
      {"{}", R"({"oneOf": [{"properties": {"k": {"const": 1}}}]})",
       "/oneOf/0/properties/k/const: This keyword requires a string parameter."},
      {"{}", R"({"allOf": [1]})", "/allOf/0: This keyword requires an object parameter."},
      {"{}", R"({"allOf": [{}]})", "/allOf/0: Only single items are supported."},
      {"{}", R"({"allOf": [{"anyOf": []}]})", "/allOf/0: Only a single 'oneOf' item is supported here."},
      {"{}", R"({"allOf": [{"oneOf": [{"required": []}]}]})",
       "/allOf/0/oneOf/0/required: Only single items are supported."},
      {R"("a")", R"({"requiredIn": {"itemProperty": "n"}})", "/requiredIn/$array_ref: This item is required."},
      {R"("a")", R"({"requiredIn": {"$array_ref": "/L"}})", "/requiredIn/itemProperty: This item is required."},
      {R"("a")", R"({"requiredIn": {"$array_ref": 1, "itemProperty": "n"}})",
       "/requiredIn/$array_ref: This keyword requires a string parameter."},
      {R"("a")", R"({"requiredIn": {"$array_ref": "L", "itemProperty": "n"}})",
       "/requiredIn/$array_ref: This JSON pointer is invalid."},
      {R"("a")", R"({"requiredIn": {"$array_ref": "/a~2", "itemProperty": "n"}})",
       "/requiredIn/$array_ref: This JSON pointer is invalid."},
  });
}

// A modifier without its bound is not read; subschemas the walk never reaches are not examined.
TEST(SchemaErrors, ParametersTheWalkNeverReadsAreAccepted) {
  for (const char* accepted :
       {R"({"exclusiveMinimum": "yes"})", R"({"default": 0})", R"({"default": ""})", R"({"default": false})",
        R"({"format": "uri"})", R"({"type": "object", "optional": ["a"], "properties": {"a": {"minimum": "3"}}})"})
    EXPECT_EQ(validateTexts("{}", accepted).status, ValidationStatus::NoIssues) << accepted;
}

// A schema 255 levels deep and a huge array are walked.
TEST(ValidationInput, UnparsableInputEndsTheRunWithOneMessage) {
  const std::string tooDeep = "nesting deeper than 512 levels";
  const std::string dataFailed = "Parsing the JSON data file failed: ";
  const std::string schemaFailed = "Parsing the JSON schema file failed: ";
  const std::string parseError = "[json.exception.parse_error.101] parse error at line 1, column ";
  const Case cases[] = {
      {"{\"a\": }", "true",
       dataFailed + parseError +
           "7: syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal"},
      {"1e999", "true", dataFailed + "[json.exception.out_of_range.406] number overflow parsing '1e999'"},
      {nested(513), "true", dataFailed + tooDeep},
      {"{}", "{",
       schemaFailed + parseError +
           "2: syntax error while parsing object key - unexpected end of input; expected string literal"},
      {"1", std::string(100000, '['), schemaFailed + tooDeep},
  };
  for (const Case& c : cases) {
    const auto run = validateTexts(c.document, c.schema);
    EXPECT_EQ(run.status, ValidationStatus::Errors) << c.printed;
    EXPECT_EQ(run.printed, c.printed + "\n");
  }
  EXPECT_EQ(validateTexts(nested(512), "true").status, ValidationStatus::NoIssues);
  EXPECT_EQ(validateTexts("\"\xff\"", "true").printed.rfind(dataFailed + parseError, 0), 0u);
  std::string schema = "true";
  std::string document = "1";
  for (int level = 0; level < 255; ++level) {
    schema = R"({"items": )" + schema + "}";
    document = "[" + document + "]";
  }
  EXPECT_EQ(validateTexts(document, schema).status, ValidationStatus::NoIssues);
  std::string array = "[";
  for (int index = 0; index < 200000; ++index) array += index ? ",1" : "1";
  EXPECT_EQ(validateTexts(array + ",\"x\"]", R"({"items": {"type": "integer"}})").printed,
            "/200000: Error: This value must be an integer.\n");
}

// The format's enumeration comes before its type. A repeated member is told once at its pointer and its
// last value counts; a hostile key is cut at 200 characters, its control bytes escaped. Lines sort by pointer.
TEST(ConfigurationSchema, FindingsAtTheirPointers) {
  const std::string at = "/RESULTS/EXPORT/0/";
  const std::string error = ": Error: This value must be ";
  const std::pair<std::string, std::string> cases[] = {
      {R"({"RESULTS": {}})", "/RESULTS/EXPORT" + missing},
      {exportsOf("[{}]"), at + "format" + missing},
      {exportsOf(R"([{"format": 3}])"), at + "format" + notXdmf},
      {entry(R"("outputs": ["water_depth"], "from": -10, "to": 3600.5, "every": 10, "document": "flood.xdmf",)"
             R"( "mesh_2dm": true, "portable": false, "envelopes": {"wet_depth": 0})"),
       ""},
      {entry(R"("every": 0)"), at + "every" + error + "greater than or equal to 1.000000.\n"},
      {entry(R"("every": 2.5)"), at + "every" + error + "an integer.\n"},
      {entry(R"("outputs": "water_depth")"), at + "outputs" + error + "an array.\n"},
      {entry(R"("outputs": ["water_depth", 7])"), at + "outputs/1" + error + "a string.\n"},
      {entry(R"("window": [0, 10])"), at + "window" + ignored},
      {entry(R"("portable": null, "mesh_2dm": [true])"),
       at + "mesh_2dm" + error + "a boolean.\n" + at + "portable" + error + "a boolean.\n"},
      {entry(R"("envelopes": {"wet_depth": -0.01})"),
       at + "envelopes/wet_depth" + error + "greater than or equal to 0.000000.\n"},
      {entry(R"("envelopes": ["wet_depth"])"), at + "envelopes" + error + "an object.\n"},
      {entry(R"("envelopes": {"dry_depth": 0.2})"), at + "envelopes/dry_depth" + ignored},
      {exportsOf(R"([{"format": "xdmf"},
         {"format": "xdmf", "document": "a.xdmf", "envelopes": {"wet_depth": 0.1, "wet_depth": 0.2},
          "document": "b.xdmf", "document": "c.xdmf", "gauges": [{"name": "g", "x": 0, "y": 0, "x": 1}]},
         {"format": "xdmf", "every": 0, "every": 2}])"),
       "/RESULTS/EXPORT/1/document" + repeated + "/RESULTS/EXPORT/1/envelopes/wet_depth" + repeated +
           "/RESULTS/EXPORT/1/gauges/0/x" + repeated + "/RESULTS/EXPORT/2/every" + repeated},
      {entry(R"("every": 2, "every": 0)"), at + "every" + error + "greater than or equal to 1.000000.\n"},
      {exportsOf(R"([{"format": "xdmf"}])").insert(1, "\"" + std::string(100000, 'k') + R"(": 1, "\u001b[2J": 2, )"),
       "/\\x1b[2J" + ignored + "/" + std::string(199, 'k') + "... (100001 bytes)" + ignored},
  };
  for (const auto& [document, printed] : cases) expectFindings({document, resultsConfigurationSchema, printed});
}
