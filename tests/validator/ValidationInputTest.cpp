// Documents and schemas that cannot be validated: parse failures and hostile
// input end the run with one line and status 2, never a crash.

#include <gtest/gtest.h>

#include "support/ValidationRun.hpp"

using jsv::ValidationStatus;
using validator_testing::validateTexts;

namespace {

std::string nested(int depth) { return std::string(static_cast<std::size_t>(depth), '[') + std::string(static_cast<std::size_t>(depth), ']'); }

void expectParseFailure(const std::string& document, const std::string& schema, const std::string& line) {
  const auto run = validateTexts(document, schema);
  EXPECT_EQ(run.status, ValidationStatus::Errors);
  EXPECT_EQ(run.printed, line + "\n");
}

}  // namespace

TEST(ValidationInput, EmptyDocument) {
  expectParseFailure("", "true",
                     "Parsing the JSON data file failed: [json.exception.parse_error.101] parse error at line 1, "
                     "column 1: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal");
}

TEST(ValidationInput, InvalidDocumentAndInvalidSchema) {
  expectParseFailure("{\"a\": }", "true",
                     "Parsing the JSON data file failed: [json.exception.parse_error.101] parse error at line 1, "
                     "column 7: syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal");
  expectParseFailure("{}", "{", "Parsing the JSON schema file failed: [json.exception.parse_error.101] parse error at "
                                "line 1, column 2: syntax error while parsing object key - unexpected end of input; "
                                "expected string literal");
}

TEST(ValidationInput, InvalidUtf8IsAParseFailure) {
  const auto run = validateTexts("\"\xff\"", "true");
  EXPECT_EQ(run.status, ValidationStatus::Errors);
  EXPECT_EQ(run.printed.rfind("Parsing the JSON data file failed: [json.exception.parse_error.101]", 0), 0u);
}

TEST(ValidationInput, NumberOverflowIsAParseFailure) {
  expectParseFailure("1e999", "true",
                     "Parsing the JSON data file failed: [json.exception.out_of_range.406] number overflow parsing '1e999'");
}

TEST(ValidationInput, NestingIsBounded) {
  EXPECT_EQ(validateTexts(nested(512), "true").status, ValidationStatus::NoIssues);
  expectParseFailure(nested(513), "true", "Parsing the JSON data file failed: nesting deeper than 512 levels");
  expectParseFailure(nested(100000), "true", "Parsing the JSON data file failed: nesting deeper than 512 levels");
  expectParseFailure("1", std::string(100000, '['), "Parsing the JSON schema file failed: nesting deeper than 512 levels");
}

TEST(ValidationInput, DeepSchemaWalkStaysWithinTheBound) {
  std::string schema = "true";
  std::string document = "1";
  for (int level = 0; level < 255; ++level) {
    schema = R"({"items": )" + schema + "}";
    document = "[" + document + "]";
  }
  EXPECT_EQ(validateTexts(document, schema).status, ValidationStatus::NoIssues);
}

TEST(ValidationInput, HugeArrayIsWalked) {
  std::string document = "[";
  for (int index = 0; index < 200000; ++index) document += index ? ",1" : "1";
  document += ",\"x\"]";
  const auto run = validateTexts(document, R"({"items": {"type": "integer"}})");
  EXPECT_EQ(run.printed, "/200000: Error: This value must be an integer.\n");
}
