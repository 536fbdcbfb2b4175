// The command-file reader: its sources, key paths, values, items and block names.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>

#include "dataio/json/JSONReader.hpp"
#include "interfaces/Failure.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/ExceptionText.hpp"
#include "support/TempDir.hpp"

using testing_support::CerrCapture;
using testing_support::exceptionText;

namespace {

std::unique_ptr<api::ICommandFileReader> readerOf(const std::string& source) {
  return std::unique_ptr<api::ICommandFileReader>(createCommandFileReader(source));
}

// What the reader printed before it refused the source.
std::string refusalOf(const std::string& source) {
  CerrCapture errors;
  EXPECT_THROW(readerOf(source), BaseException);
  return errors.text();
}

const char* const configuration = R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "w": [1.5, 2]}, {}, 7, {"format": {}}],
  "EMPTY": [], "NONE": {}, "NULL": null},
  "S": {"B": {"x": 1}, "A": {}, "C": 3},
  "V": {"f": 2.9, "g": -2.9, "s": "5", "b": true, "one": 1, "zero": 0, "no": false, "text": "",
        "ints": [1, 2.7, -3.5], "strings": ["a", "b"]}})";

}  // namespace

// Nesting is limited so that a hostile file cannot exhaust the stack. A
// device read as a file never ends or waits; /dev/null stands for them here.
// A source that is no JSON is taken for a file name: a long archived text is
// quoted by its first 200 characters, cut between characters.
TEST(JSONReaderConstruction, SourceIsTextOrAReadableFile) {
  EXPECT_EQ(readerOf(R"({"a": null})")->getFileName(), "");
  testing_support::TempDir dir;
  const std::string path = dir.file("cfg.json");
  testing_support::writeFile(path, configuration);
  EXPECT_EQ(readerOf(path)->getFileName(), path);
  testing_support::writeFile(path, std::string(100000, '['));
  EXPECT_EQ(exceptionText([&] { readerOf(path); }), "JSON nesting deeper than 512 levels");
  EXPECT_EQ(readerOf(std::string(512, '[') + std::string(512, ']'))->getSize(""), 1);
  for (const std::string& source : {dir.file("nowhere.json"), dir.path(), std::string()})
    EXPECT_EQ(refusalOf(source), " -> input file <" + source + "> not found.\n");
  const std::string device = dir.file("device.json");
  std::filesystem::create_symlink("/dev/null", device);
  EXPECT_EQ(refusalOf(device), " -> input file <" + device + "> is not a regular file.\n");
  const std::string limit(200, 'x');
  EXPECT_EQ(refusalOf(limit), " -> input file <" + limit + "> not found.\n");
  EXPECT_EQ(refusalOf(limit + "yz"),
            " -> input file <" + limit + "...> not found. (a text of 202 characters, the first 200 shown)\n");
  std::string accents;
  for (int i = 0; i < 250; ++i) accents += "\xc3\xa9";
  EXPECT_EQ(refusalOf(accents), " -> input file <" + accents.substr(0, 400) +
                                    "...> not found. (a text of 250 characters, the first 200 shown)\n");
}

// Only the values that keys lead to can be empty: the document itself is
// found. Block names are the members of an object that are objects, in key
// order.
TEST(JSONReaderPaths, KeysLeadThroughNestedObjectsWithoutInserting) {
  const auto keys = readerOf(R"({"A": {"": {"B": 1}, "C": 2}, "": {"A": 3}})");
  const std::pair<const char*, int> values[] = {{"A/C", 2}, {"A//B", 1}, {"/A", 3}, {"A/C/", 2}};
  for (const auto& [key, value] : values) EXPECT_EQ(keys->getInt(key, 0), value) << key;
  const auto reader = readerOf(configuration);
  for (const char* absent : {"RESULTS/EMPTY", "RESULTS/NONE", "RESULTS/NULL", "RESULTS//EXPORT", "/RESULTS/EXPORT"})
    EXPECT_FALSE(reader->exists({absent})) << absent;
  EXPECT_TRUE(reader->exists({"RESULTS/EXPORT", "V/zero", "V/no", "V/text"}));
  EXPECT_FALSE(reader->exists({}));
  // The second path would raise the library's type error if it were looked at.
  EXPECT_FALSE(reader->exists({"NOPE", "V/f/x"}));
  EXPECT_EQ(reader->getBlockNames(""), (std::vector<std::string>{"RESULTS", "S", "V"}));
  EXPECT_EQ(reader->getBlockNames("S"), (std::vector<std::string>{"A", "B"}));
  for (const char* path : {"S/A", "S/C", "V/zero", "V/strings"})
    EXPECT_EQ(reader->getBlockNames(path), std::vector<std::string>{}) << path;
  CerrCapture errors;
  bool found = false;
  EXPECT_EQ(readerOf("[]")->getSize("", found), 0);
  EXPECT_TRUE(found);
  const auto small = readerOf(R"({"a": 1})");
  small->getString("x/y", found);
  small->getInt("x", 0);
  EXPECT_EQ(small->dump(), R"({"a":1})");
}

// An absent value is reported unless it has a default; a value of another
// type reads as absent but found, and silently. A member an export entry may
// carry beside its format is present even as an empty list or object, and its
// key may lead into nested objects.
TEST(JSONReaderValues, AbsentOrMistypedValuesReadAsAbsent) {
  const auto reader = readerOf(configuration);
  CerrCapture errors;
  bool found = true;
  EXPECT_FALSE(reader->getBool("X", found));
  EXPECT_EQ(reader->getInt("X", found), std::numeric_limits<int>::min());
  EXPECT_TRUE(std::isnan(reader->getDouble("X", found)));
  EXPECT_EQ(reader->getString("X", found), "");
  EXPECT_TRUE(reader->getDoubleVector("X", found).empty());
  EXPECT_TRUE(reader->getStringVector("X", found).empty());
  EXPECT_EQ(reader->getSize("RESULTS/EMPTY", found), 0);
  EXPECT_FALSE(found);
  EXPECT_EQ(reader->getInt("X", 7), 7);
  EXPECT_EQ(reader->getDouble("X", 1.5), 1.5);
  EXPECT_EQ(reader->getString("X", std::string("d")), "d");
  EXPECT_EQ(reader->getSize("X"), 0);
  EXPECT_EQ(reader->getBlockNames("X"), std::vector<std::string>{});
  EXPECT_EQ(reader->getInt("V/f", found), 2);
  EXPECT_EQ(reader->getInt("V/g", found), -2);  // toward zero, not down
  EXPECT_EQ(reader->getInt("V/s", found), std::numeric_limits<int>::min());
  EXPECT_TRUE(found);
  EXPECT_TRUE(reader->getBool("V/b", found));
  EXPECT_FALSE(reader->getBool("V/one", found));
  EXPECT_EQ(reader->getSize("RESULTS/EXPORT", found), 4);
  EXPECT_EQ(reader->getIntVector("V/ints", found), (std::vector<int>{1, 2, -3}));
  EXPECT_EQ(reader->getDoubleVector("V/ints", found), (std::vector<double>{1, 2.7, -3.5}));
  EXPECT_EQ(reader->getStringVector("V/strings", found), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(reader->getItemString("RESULTS/EXPORT", 1, "format", found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(reader->getItemString("RESULTS/EXPORT", 0, "format", found), "xdmf");
  EXPECT_TRUE(found);
  EXPECT_EQ(reader->getItemDoubleVector("RESULTS/EXPORT", 0, "w", found), (std::vector<double>{1.5, 2}));
  EXPECT_EQ(reader->getItemString("RESULTS/EXPORT", 3, "format", std::string("d")), "d");
  EXPECT_EQ(reader->getItemInt("RESULTS/EXPORT", 4, "format", found), std::numeric_limits<int>::min());
  EXPECT_TRUE(std::isnan(reader->getItemDouble("RESULTS/EXPORT", -1, "format", found)));
  const auto entries =
      readerOf(R"({"L": [{"names": ["a", "b"], "none": [], "on": true, "nested": {"depth": 0.5, "empty": {}}}, 3]})");
  EXPECT_TRUE(entries->hasItem("L", 0, "none"));
  EXPECT_TRUE(entries->hasItem("L", 0, "nested/empty"));
  EXPECT_FALSE(entries->hasItem("L", 0, "nested/other"));
  EXPECT_FALSE(entries->hasItem("L", 1, "names"));
  EXPECT_EQ(entries->getItemDouble("L", 0, "nested/depth", 0.0), 0.5);
  EXPECT_EQ(entries->getItemDouble("L", 0, "nested/empty", 1.5), 1.5);
  std::string expected;
  for (int line = 0; line < 6; ++line) expected += " -> path <X> not found.\n";
  EXPECT_EQ(errors.text(), expected +
                               " -> path <RESULTS/EMPTY> not found.\n"
                               " -> path <RESULTS/EXPORT[1]/format> not found.\n"
                               " -> path <RESULTS/EXPORT[4]/format> not found.\n"
                               " -> path <RESULTS/EXPORT[-1]/format> not found.\n");
}
