// The command-file reader: construction, key paths, absent values and the
// lines it reports, type rules, items and block names.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <cstring>
#include <iostream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "dataio/json/JSONReader.hpp"
#include "interfaces/Failure.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/TempDir.hpp"

using testing_support::CerrCapture;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::unique_ptr<api::ICommandFileReader> readerOf(const std::string& source) {
  return std::unique_ptr<api::ICommandFileReader>(createCommandFileReader(source));
}

const char* const configuration = R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "w": [1.5, 2]}, {}, 7, {"format": {}}],
  "EMPTY": [], "NONE": {}, "NULL": null},
  "S": {"B": {"x": 1}, "A": {}, "C": 3},
  "V": {"f": 2.9, "g": -2.9, "s": "5", "b": true, "one": 1, "zero": 0, "no": false, "text": "",
        "big": 4294967297, "huge": 1e300, "ints": [1, 2.7, -3.5], "flags": [true], "mixed": [1, "a"], "strings": ["a", "b"]}})";

}  // namespace

TEST(JSONReaderConstruction, TextSourceHasNoFileName) {
  const auto reader = readerOf("{}");
  EXPECT_EQ(reader->getFileName(), "");
  EXPECT_EQ(reader->dump(), "{}");
  EXPECT_EQ(readerOf(R"({"b": [1, "ä"], "a": null})")->dump(), "{\"a\":null,\"b\":[1,\"ä\"]}");
}

TEST(JSONReaderConstruction, FileSourceIsReadAndNamed) {
  TempDir dir;
  const std::string path = dir.file("cfg.json");
  writeFile(path, configuration);
  const auto reader = readerOf(path);
  EXPECT_EQ(reader->getFileName(), path);
  EXPECT_EQ(reader->getBlockNames("S"), (std::vector<std::string>{"A", "B"}));
}

TEST(JSONReaderConstruction, MissingFileOrDirectoryIsNotFound) {
  TempDir dir;
  for (const std::string& source : {dir.file("nowhere.json"), dir.path(), std::string()}) {
    CerrCapture errors;
    EXPECT_THROW(readerOf(source), BaseException) << source;
    EXPECT_EQ(errors.text(), " -> input file <" + source + "> not found.\n");
  }
}

// A device read as a file never ends or waits; /dev/null stands for them here.
TEST(JSONReaderConstruction, SpecialFileIsNotARegularFile) {
  TempDir dir;
  const std::string device = dir.file("device.json");
  std::filesystem::create_symlink("/dev/null", device);
  CerrCapture errors;
  EXPECT_THROW(readerOf(device), BaseException);
  EXPECT_EQ(errors.text(), " -> input file <" + device + "> is not a regular file.\n");
}

// A source that is no JSON is taken for a file name: a long archived text is
// quoted by its first 200 characters, cut between characters, not bytes.
TEST(JSONReaderConstruction, LongSourceIsQuotedByItsFirstCharacters) {
  const auto reportFor = [](const std::string& source) {
    CerrCapture errors;
    EXPECT_THROW(readerOf(source), BaseException);
    return errors.text();
  };
  const std::string limit(200, 'x');
  EXPECT_EQ(reportFor(limit), " -> input file <" + limit + "> not found.\n");
  EXPECT_EQ(reportFor(limit + "yz"),
            " -> input file <" + limit + "...> not found. (a text of 202 characters, the first 200 shown)\n");
  std::string accents;
  for (int i = 0; i < 250; ++i) accents += "\xc3\xa9";
  EXPECT_EQ(reportFor(accents), " -> input file <" + accents.substr(0, 400) +
                                    "...> not found. (a text of 250 characters, the first 200 shown)\n");
}

TEST(JSONReaderConstruction, SyntaxErrorInFileIsTheLibrarysParseError) {
  TempDir dir;
  writeFile(dir.file("bad.json"), "{\"a\": ");
  EXPECT_THROW(readerOf(dir.file("bad.json")), nlohmann::json::parse_error);
  writeFile(dir.file("empty.json"), "");
  EXPECT_THROW(readerOf(dir.file("empty.json")), nlohmann::json::parse_error);
}

TEST(JSONReaderConstruction, DeepNestingIsRefused) {
  TempDir dir;
  writeFile(dir.file("deep.json"), std::string(100000, '['));
  try {
    readerOf(dir.file("deep.json"));
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "JSON nesting deeper than 512 levels");
  }
  EXPECT_EQ(readerOf(std::string(512, '[') + std::string(512, ']'))->getSize(""), 1);
}

TEST(JSONReaderPaths, KeysSplitLikeGetline) {
  const auto reader = readerOf(R"({"A": {"": {"B": 1}, "C": 2}, "": {"A": 3}})");
  EXPECT_EQ(reader->getInt("A/C", 0), 2);
  EXPECT_EQ(reader->getInt("A//B", 0), 1);
  EXPECT_EQ(reader->getInt("/A", 0), 3);
  EXPECT_EQ(reader->getInt("A/C/", 0), 2);
  EXPECT_TRUE(reader->exists({""}));
}

TEST(JSONReaderPaths, EmptyValuesAreAbsent) {
  const auto reader = readerOf(configuration);
  EXPECT_FALSE(reader->exists({"RESULTS/EMPTY"}));
  EXPECT_FALSE(reader->exists({"RESULTS/NONE"}));
  EXPECT_FALSE(reader->exists({"RESULTS/NULL"}));
  EXPECT_FALSE(reader->exists({"RESULTS//EXPORT"}));
  EXPECT_FALSE(reader->exists({"/RESULTS/EXPORT"}));
  EXPECT_TRUE(reader->exists({"RESULTS/EXPORT", "V/zero", "V/no", "V/text"}));
  EXPECT_FALSE(reader->exists({}));
}

TEST(JSONReaderPaths, ExistsStopsAtTheFirstAbsentPath) {
  // The second path would raise a type error if it were looked at.
  EXPECT_FALSE(readerOf(configuration)->exists({"NOPE", "V/f/x"}));
  EXPECT_THROW(readerOf(configuration)->exists({"V/f/x"}), nlohmann::json::type_error);
}

TEST(JSONReaderPaths, LookupsNeverInsert) {
  const auto reader = readerOf(R"({"a": 1})");
  bool found = true;
  CerrCapture errors;
  reader->getString("x/y", found);
  reader->getInt("x", 0);
  EXPECT_EQ(reader->dump(), R"({"a":1})");
}

TEST(JSONReaderPaths, PassingThroughANonObjectIsTypeError305) {
  const auto reader = readerOf(configuration);
  bool found = false;
  try {
    reader->getInt("RESULTS/EXPORT/format", found);
    FAIL() << "no exception";
  } catch (const nlohmann::json::type_error& e) {
    EXPECT_EQ(e.id, 305);
    EXPECT_STREQ(e.what(), "[json.exception.type_error.305] cannot use operator[] with a string argument with array");
  }
}

TEST(JSONReaderReporting, AbsentValuesAndTheNotFoundLine) {
  const auto reader = readerOf(configuration);
  CerrCapture errors;
  bool found = true;
  EXPECT_FALSE(reader->getBool("X", found));
  EXPECT_EQ(reader->getInt("X", found), std::numeric_limits<int>::min());
  const double absent = reader->getDouble("X", found);
  std::uint64_t bits = 0;
  std::memcpy(&bits, &absent, sizeof bits);
  EXPECT_EQ(bits, 0xFFF8000000000000u);
  EXPECT_EQ(reader->getString("X", found), "");
  EXPECT_TRUE(reader->getIntVector("X", found).empty());
  EXPECT_TRUE(reader->getDoubleVector("X", found).empty());
  EXPECT_TRUE(reader->getStringVector("X", found).empty());
  EXPECT_FALSE(found);
  EXPECT_EQ(reader->getSize("RESULTS/EXPORT", found), 4);
  EXPECT_TRUE(found);
  EXPECT_EQ(reader->getSize("RESULTS/EMPTY", found), 0);
  EXPECT_FALSE(found);
  std::string expected;
  for (int line = 0; line < 7; ++line) expected += " -> path <X> not found.\n";
  EXPECT_EQ(errors.text(), expected + " -> path <RESULTS/EMPTY> not found.\n");
}

TEST(JSONReaderReporting, DefaultsAreSilent) {
  const auto reader = readerOf(configuration);
  CerrCapture errors;
  EXPECT_TRUE(reader->getBool("X", true));
  EXPECT_EQ(reader->getInt("X", 7), 7);
  EXPECT_EQ(reader->getDouble("X", 1.5), 1.5);
  EXPECT_EQ(reader->getString("X", std::string("d")), "d");
  EXPECT_EQ(reader->getIntVector("X", std::vector<int>{1}), std::vector<int>{1});
  EXPECT_EQ(reader->getDoubleVector("X", std::vector<double>{2}), std::vector<double>{2});
  EXPECT_EQ(reader->getStringVector("X", std::vector<std::string>{"s"}), std::vector<std::string>{"s"});
  EXPECT_EQ(reader->getSize("X"), 0);
  EXPECT_EQ(reader->getBlockNames("X"), std::vector<std::string>{});
  EXPECT_EQ(errors.text(), "");
}

TEST(JSONReaderTypes, NumbersAndWrongTypes) {
  const auto reader = readerOf(configuration);
  CerrCapture errors;
  bool found = false;
  EXPECT_EQ(reader->getInt("V/f", found), 2);
  EXPECT_EQ(reader->getInt("V/g", found), -2);
  EXPECT_EQ(reader->getInt("V/s", found), std::numeric_limits<int>::min());
  EXPECT_TRUE(found);
  EXPECT_EQ(reader->getInt("V/big", found), 1);
  EXPECT_EQ(reader->getInt("V/huge", found), std::numeric_limits<int>::max());
  EXPECT_EQ(reader->getDouble("V/one", found), 1.0);
  EXPECT_TRUE(std::isnan(reader->getDouble("V/s", found)));
  EXPECT_FALSE(reader->getBool("V/one", found));
  EXPECT_TRUE(reader->getBool("V/one", true));
  EXPECT_TRUE(reader->getBool("V/b", found));
  EXPECT_EQ(reader->getString("V/one", std::string("d")), "d");
  EXPECT_EQ(reader->getSize("V", found), 0);
  EXPECT_TRUE(found);
  EXPECT_EQ(errors.text(), "");
}

TEST(JSONReaderTypes, VectorsUseTheLibrarysConversion) {
  const auto reader = readerOf(configuration);
  bool found = false;
  EXPECT_EQ(reader->getIntVector("V/ints", found), (std::vector<int>{1, 2, -3}));
  EXPECT_EQ(reader->getDoubleVector("V/ints", found), (std::vector<double>{1, 2.7, -3.5}));
  EXPECT_EQ(reader->getStringVector("V/strings", found), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(reader->getStringVector("V/s", found).empty());
  // The library turns booleans into int, not into double.
  EXPECT_EQ(reader->getIntVector("V/flags", found), std::vector<int>{1});
  EXPECT_THROW(reader->getDoubleVector("V/flags", found), nlohmann::json::type_error);
  try {
    reader->getIntVector("V/mixed", found);
    FAIL() << "no exception";
  } catch (const nlohmann::json::type_error& e) {
    EXPECT_STREQ(e.what(), "[json.exception.type_error.302] type must be number, but is string");
  }
  try {
    reader->getStringVector("V/mixed", std::vector<std::string>{});
    FAIL() << "no exception";
  } catch (const nlohmann::json::type_error& e) {
    EXPECT_STREQ(e.what(), "[json.exception.type_error.302] type must be string, but is number");
  }
}

TEST(JSONReaderItems, FoundAndNotFound) {
  const auto reader = readerOf(configuration);
  CerrCapture errors;
  bool found = false;
  EXPECT_EQ(reader->itemPath("RESULTS/EXPORT", 0, "format"), "RESULTS/EXPORT[0]/format");
  EXPECT_EQ(reader->getItemString("RESULTS/EXPORT", 0, "format", found), "xdmf");
  EXPECT_TRUE(found);
  EXPECT_EQ(reader->getItemDoubleVector("RESULTS/EXPORT", 0, "w", found), (std::vector<double>{1.5, 2}));
  EXPECT_EQ(reader->getItemInt("RESULTS/EXPORT", 0, "w", 5), 5);
  EXPECT_EQ(reader->getItemString("RESULTS/EXPORT", 1, "format", found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(reader->getItemString("RESULTS/EXPORT", 3, "format", std::string("d")), "d");
  EXPECT_EQ(reader->getItemInt("RESULTS/EXPORT", 4, "format", found), std::numeric_limits<int>::min());
  EXPECT_TRUE(std::isnan(reader->getItemDouble("RESULTS/EXPORT", -1, "format", found)));
  EXPECT_FALSE(found);
  EXPECT_EQ(reader->getItemDouble("S", 0, "x", 2.5), 2.5);
  EXPECT_EQ(errors.text(),
            " -> path <RESULTS/EXPORT[1]/format> not found.\n"
            " -> path <RESULTS/EXPORT[4]/format> not found.\n"
            " -> path <RESULTS/EXPORT[-1]/format> not found.\n");
}

// Members an export entry may carry beside its format: presence counts even
// for an empty list or object, and keys may lead into nested objects.
TEST(JSONReaderItems, PresenceListsFlagsAndNestedKeys) {
  const auto reader = readerOf(
      R"({"L": [{"names": ["a", "b"], "none": [], "on": true, "nested": {"depth": 0.5, "empty": {}}}, 3]})");
  CerrCapture errors;
  EXPECT_TRUE(reader->hasItem("L", 0, "none"));
  EXPECT_TRUE(reader->hasItem("L", 0, "nested/empty"));
  EXPECT_FALSE(reader->hasItem("L", 0, "nested/other"));
  EXPECT_FALSE(reader->hasItem("L", 0, "names/x"));
  EXPECT_FALSE(reader->hasItem("L", 1, "names"));
  EXPECT_FALSE(reader->hasItem("L", 2, "names"));
  EXPECT_EQ(reader->getItemStringVector("L", 0, "names", {}), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(reader->getItemStringVector("L", 0, "none", {"d"}), std::vector<std::string>{"d"});
  EXPECT_TRUE(reader->getItemBool("L", 0, "on", false));
  EXPECT_TRUE(reader->getItemBool("L", 0, "off", true));
  EXPECT_EQ(reader->getItemDouble("L", 0, "nested/depth", 0.0), 0.5);
  EXPECT_EQ(reader->getItemDouble("L", 0, "nested/empty", 1.5), 1.5);
  EXPECT_EQ(errors.text(), "");
}

TEST(JSONReaderItems, ScalarElementIsTypeError305) {
  EXPECT_THROW(readerOf(configuration)->getItemString("RESULTS/EXPORT", 2, "format", std::string()),
               nlohmann::json::type_error);
}

TEST(JSONReaderBlockNames, ObjectMembersOnlyInKeyOrder) {
  const auto reader = readerOf(configuration);
  EXPECT_EQ(reader->getBlockNames("S"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(reader->getBlockNames("S/A"), std::vector<std::string>{});
  EXPECT_EQ(reader->getBlockNames("S/C"), std::vector<std::string>{});
  EXPECT_EQ(reader->getBlockNames("V/zero"), std::vector<std::string>{});
  EXPECT_EQ(reader->getBlockNames("V/strings"), std::vector<std::string>{});
  EXPECT_EQ(reader->getBlockNames(""), (std::vector<std::string>{"RESULTS", "S", "V"}));
}

TEST(JSONReaderBlockNames, ObjectInsideAnArrayIsInvalidIterator207) {
  try {
    readerOf(configuration)->getBlockNames("RESULTS/EXPORT");
    FAIL() << "no exception";
  } catch (const nlohmann::json::invalid_iterator& e) {
    EXPECT_STREQ(e.what(), "[json.exception.invalid_iterator.207] cannot use key() for non-object iterators");
  }
}

TEST(JSONReaderPaths, EmptyPathIsTheWholeDocument) {
  bool found = false;
  EXPECT_EQ(readerOf("[1, 2, 3]")->getSize("", found), 3);
  EXPECT_TRUE(found);
  // Only the values that keys lead to can be empty: the document itself is found.
  CerrCapture errors;
  EXPECT_EQ(readerOf("[]")->getSize("", found), 0);
  EXPECT_TRUE(found);
  EXPECT_TRUE(readerOf("{}")->exists({""}));
  EXPECT_EQ(errors.text(), "");
}

TEST(JSONReaderPaths, KeysIntoAnEmptyDocument) {
  EXPECT_FALSE(readerOf("null")->exists({"A"}));
  EXPECT_FALSE(readerOf("{}")->exists({"A"}));
  try {
    readerOf("[]")->exists({"A"});
    FAIL() << "no exception";
  } catch (const nlohmann::json::type_error& e) {
    EXPECT_STREQ(e.what(), "[json.exception.type_error.305] cannot use operator[] with a string argument with array");
  }
}
