// The configuration schema of the results tool through the validator: the
// findings a configuration file draws, their order and the status.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/ConfigurationSchema.hpp"
#include "support/ValidationRun.hpp"

using jsv::ValidationStatus;
using validator_testing::validateTexts;

namespace {

validator_testing::ValidationRun validateConfiguration(const std::string& document) {
  return validateTexts(document, resultsConfigurationSchema);
}

}  // namespace

TEST(ConfigurationSchemaValidation, MinimalConfigurationPrintsNothing) {
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}]}})");
  EXPECT_EQ(run.status, ValidationStatus::NoIssues);
  EXPECT_EQ(run.printed, "");
}

TEST(ConfigurationSchemaValidation, EmptyExportArrayPasses) {
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": []}})");
  EXPECT_EQ(run.status, ValidationStatus::NoIssues);
  EXPECT_EQ(run.printed, "");
}

TEST(ConfigurationSchemaValidation, EmptyObjectMissesResults) {
  const auto run = validateConfiguration("{}");
  EXPECT_EQ(run.status, ValidationStatus::Errors);
  EXPECT_EQ(run.printed, "/RESULTS: Error: This item is required but missing.\n");
}

TEST(ConfigurationSchemaValidation, ArrayDocumentIsNotAnObject) {
  const auto run = validateConfiguration("[]");
  EXPECT_EQ(run.status, ValidationStatus::Errors);
  EXPECT_EQ(run.printed, "/: Error: This value must be an object.\n");
}

TEST(ConfigurationSchemaValidation, FormatOutsideTheEnumerationIncludingCase) {
  for (const char* format : {"Binary", "XDMF"}) {
    const auto run = validateConfiguration(std::string(R"({"RESULTS": {"EXPORT": [{"format": ")") + format + "\"}]}}");
    EXPECT_EQ(run.status, ValidationStatus::Errors) << format;
    EXPECT_EQ(run.printed, "/RESULTS/EXPORT/0/format: Error: This value must be equal to one of the following: 'xdmf'.\n");
  }
}

TEST(ConfigurationSchemaValidation, NumericFormatDrawsTheEnumerationMessageBecauseEnumRunsFirst) {
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": 3}]}})");
  EXPECT_EQ(run.printed, "/RESULTS/EXPORT/0/format: Error: This value must be equal to one of the following: 'xdmf'.\n");
}

TEST(ConfigurationSchemaValidation, ExtraTopLevelMemberIsOnlyAWarning) {
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}]}, "SETUP": {}})");
  EXPECT_EQ(run.status, ValidationStatus::WarningsOnly);
  EXPECT_EQ(run.printed, "/SETUP: Warning: The value of this item will not be used.\n");
}

TEST(ConfigurationSchemaValidation, ExportAsObjectGivesTypeErrorAndIgnoredMember) {
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": {"format": "xdmf"}}})");
  EXPECT_EQ(run.status, ValidationStatus::Errors);
  EXPECT_EQ(run.printed,
            "/RESULTS/EXPORT: Error: This value must be an array.\n"
            "/RESULTS/EXPORT/format: Warning: The value of this item will not be used.\n");
}

TEST(ConfigurationSchemaValidation, FindingsComeInPointerTextOrder) {
  std::string exports;
  for (int index = 0; index <= 10; ++index) exports += std::string(index ? "," : "") + R"({"format": "xdmf"})";
  const std::string bad = R"({"format": "vtk"})";
  std::string document = R"({"RESULTS": {"EXPORT": [)" + exports + "]}, \"B\": 1, \"A\": 2}";
  // entries 2 and 10 become bad ones
  const auto replaceEntry = [&](int index) {
    std::size_t position = document.find("[") + 1;
    for (int skipped = 0; skipped < index; ++skipped) position = document.find("},", position) + 2;
    document.replace(position, std::string(R"({"format": "xdmf"})").size(), bad);
  };
  replaceEntry(2);
  replaceEntry(10);
  const auto run = validateConfiguration(document);
  EXPECT_EQ(run.status, ValidationStatus::Errors);
  EXPECT_EQ(run.printed,
            "/A: Warning: The value of this item will not be used.\n"
            "/B: Warning: The value of this item will not be used.\n"
            "/RESULTS/EXPORT/10/format: Error: This value must be equal to one of the following: 'xdmf'.\n"
            "/RESULTS/EXPORT/2/format: Error: This value must be equal to one of the following: 'xdmf'.\n");
}

TEST(ConfigurationSchemaValidation, MissingFormatAndMissingExport) {
  EXPECT_EQ(validateConfiguration(R"({"RESULTS": {"EXPORT": [{}]}})").printed,
            "/RESULTS/EXPORT/0/format: Error: This item is required but missing.\n");
  EXPECT_EQ(validateConfiguration(R"({"RESULTS": {}})").printed,
            "/RESULTS/EXPORT: Error: This item is required but missing.\n");
}

// The members an export entry may carry beside its format are checked on their
// own below; without them the schema is the described object.
TEST(ConfigurationSchemaValidation, SchemaTextIsTheDescribedObject) {
  const std::string text = resultsConfigurationSchema;
  EXPECT_EQ(text.front(), '\n');
  EXPECT_EQ(text.back(), '\n');
  auto schema = nlohmann::json::parse(text);
  auto& entry = schema["properties"]["RESULTS"]["properties"]["EXPORT"]["items"];
  for (const auto& optional : entry.at("optional")) entry.at("properties").erase(optional.get<std::string>());
  entry.erase("optional");
  const auto expected = nlohmann::json::parse(R"({
    "$schema": "file://TORVANEL_MetaSchema.json", "type": "object", "required": ["RESULTS"],
    "properties": {"RESULTS": {"type": "object", "required": ["EXPORT"], "properties": {"EXPORT": {
      "type": "array", "items": {"type": "object", "description": "Parameter required for the output generation.",
        "required": ["format"], "properties": {"format": {"type": "string",
          "description": "Define the output format.", "enum": ["xdmf"]}}}}}}}})");
  EXPECT_EQ(schema, expected);
}

TEST(ConfigurationSchemaValidation, SelectionMembersAreOptional) {
  const auto run = validateConfiguration(
      R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "outputs": ["water_depth"], "from": -10, "to": 3600.5,)"
      R"( "every": 10, "document": "flood.xdmf", "mesh_2dm": true, "portable": false}]}})");
  EXPECT_EQ(run.status, ValidationStatus::NoIssues);
  EXPECT_EQ(run.printed, "");
}

TEST(ConfigurationSchemaValidation, SelectionMembersAreCheckedAtTheirPointers) {
  const auto entry = [](const std::string& members) {
    return validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf", )" + members + "}]}}").printed;
  };
  const std::string at = "/RESULTS/EXPORT/0/";
  EXPECT_EQ(entry(R"("every": 0)"), at + "every: Error: This value must be greater than or equal to 1.000000.\n");
  EXPECT_EQ(entry(R"("every": 2.5)"), at + "every: Error: This value must be an integer.\n");
  EXPECT_EQ(entry(R"("every": "2")"), at + "every: Error: This value must be an integer.\n");
  EXPECT_EQ(entry(R"("from": "0")"), at + "from: Error: This value must be a number.\n");
  EXPECT_EQ(entry(R"("to": null)"), at + "to: Error: This value must be a number.\n");
  EXPECT_EQ(entry(R"("outputs": "water_depth")"), at + "outputs: Error: This value must be an array.\n");
  EXPECT_EQ(entry(R"("outputs": ["water_depth", 7])"), at + "outputs/1: Error: This value must be a string.\n");
  EXPECT_EQ(entry(R"("document": ["a.xdmf"])"), at + "document: Error: This value must be a string.\n");
  EXPECT_EQ(entry(R"("window": [0, 10])"), at + "window: Warning: The value of this item will not be used.\n");
}

// The validator names no type in its message for a boolean that is not one.
TEST(ConfigurationSchemaValidation, FileFormSwitchesMustBeBooleans) {
  const auto entries = [](const std::string& members) {
    return validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}, {"format": "xdmf", )" + members +
                                 "}]}}");
  };
  const std::string at = "/RESULTS/EXPORT/1/";
  EXPECT_EQ(entries(R"("mesh_2dm": "true")").printed, at + "mesh_2dm: Error: This value must be a boolean.\n");
  EXPECT_EQ(entries(R"("portable": 1)").printed, at + "portable: Error: This value must be a boolean.\n");
  EXPECT_EQ(entries(R"("portable": null, "mesh_2dm": [true])").printed,
            at + "mesh_2dm: Error: This value must be a boolean.\n" + at +
                "portable: Error: This value must be a boolean.\n");
  const auto both = entries(R"("portable": true, "mesh_2dm": false)");
  EXPECT_EQ(both.status, ValidationStatus::NoIssues);
  EXPECT_EQ(both.printed, "");
}

TEST(ConfigurationSchemaValidation, EnvelopesAreAnOptionalObjectWithAnOptionalWetDepth) {
  for (const char* envelopes : {R"({})", R"({"wet_depth": 0})", R"({"wet_depth": 0.05})", R"({"wet_depth": 2})"}) {
    const auto run = validateConfiguration(std::string(R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": )") +
                                           envelopes + "}]}}");
    EXPECT_EQ(run.status, ValidationStatus::NoIssues) << envelopes;
    EXPECT_EQ(run.printed, "") << envelopes;
  }
}

TEST(ConfigurationSchemaValidation, EnvelopesAreCheckedAtTheirPointers) {
  const auto second = [](const std::string& envelopes) {
    return validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}, {"format": "xdmf", "envelopes": )" +
                                 envelopes + "}]}}");
  };
  const std::string at = "/RESULTS/EXPORT/1/envelopes";
  EXPECT_EQ(second(R"({"wet_depth": -0.01})").printed,
            at + "/wet_depth: Error: This value must be greater than or equal to 0.000000.\n");
  EXPECT_EQ(second(R"({"wet_depth": "0.05"})").printed, at + "/wet_depth: Error: This value must be a number.\n");
  EXPECT_EQ(second(R"({"wet_depth": null})").printed, at + "/wet_depth: Error: This value must be a number.\n");
  EXPECT_EQ(second("true").printed, at + ": Error: This value must be an object.\n");
  EXPECT_EQ(second(R"(["wet_depth"])").printed, at + ": Error: This value must be an object.\n");
  const auto unknown = second(R"({"wet_depth": 0.1, "dry_depth": 0.2})");
  EXPECT_EQ(unknown.status, ValidationStatus::WarningsOnly);
  EXPECT_EQ(unknown.printed, at + "/dry_depth: Warning: The value of this item will not be used.\n");
}

// The parsed value keeps the last of a repeated member: each repetition is
// told once at its pointer, in arrays and nested objects alike, and an error
// about the value that counts is what its pointer shows.
TEST(ConfigurationSchemaValidation, RepeatedMembersAreWarnedOnceAtTheirPointers) {
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": [
      {"format": "xdmf"},
      {"format": "xdmf", "document": "a.xdmf", "envelopes": {"wet_depth": 0.1, "wet_depth": 0.2},
       "document": "b.xdmf", "document": "c.xdmf", "gauges": [{"name": "g", "x": 0, "y": 0, "x": 1}]},
      {"format": "xdmf", "every": 0, "every": 2}]}})");
  EXPECT_EQ(run.status, ValidationStatus::WarningsOnly) << run.printed;
  EXPECT_EQ(run.printed,
            "/RESULTS/EXPORT/1/document: Warning: This member is given more than once; only its last value is used.\n"
            "/RESULTS/EXPORT/1/envelopes/wet_depth: Warning: This member is given more than once; only its last "
            "value is used.\n"
            "/RESULTS/EXPORT/1/gauges/0/x: Warning: This member is given more than once; only its last value is "
            "used.\n"
            "/RESULTS/EXPORT/2/every: Warning: This member is given more than once; only its last value is used.\n");
  const auto counted = validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "every": 2, "every": 0}]}})");
  EXPECT_EQ(counted.status, ValidationStatus::Errors);
  EXPECT_EQ(counted.printed, "/RESULTS/EXPORT/0/every: Error: This value must be greater than or equal to 1.000000.\n");
  const auto whole = validateConfiguration(R"({"RESULTS": {}, "RESULTS": {"EXPORT": [{"format": "xdmf"}]}})");
  EXPECT_EQ(whole.status, ValidationStatus::WarningsOnly);
  EXPECT_EQ(whole.printed, "/RESULTS: Warning: This member is given more than once; only its last value is used.\n");
}

// The pointer of a hostile key is shown cut at 200 characters, its control
// bytes escaped.
TEST(ConfigurationSchemaValidation, PointersOfLongOrHostileKeysAreShownCut) {
  const std::string key(100000, 'k');
  const auto run = validateConfiguration(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}]}, ")" + key + R"(": 1, "\u001b[2J": 2})");
  EXPECT_EQ(run.status, ValidationStatus::WarningsOnly);
  EXPECT_EQ(run.printed, "/\\x1b[2J: Warning: The value of this item will not be used.\n/" + std::string(199, 'k') +
                             "... (100001 bytes): Warning: The value of this item will not be used.\n");
}
