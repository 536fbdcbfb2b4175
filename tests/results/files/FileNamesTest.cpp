// The names of the files an export writes: their stems, the references between them, and what XML can carry.

#include <gtest/gtest.h>

#include <filesystem>

#include "results/files/FileReferences.hpp"
#include "results/files/XmlSafeName.hpp"
#include "support/FailureReport.hpp"

static std::string reportFor(const std::string& name, const std::string& kind = "document") {
  return testing_support::failureReport([&] { results::requireXmlSafeName(kind, name); });
}

static std::string refusal(const std::string& shown, const std::string& why, const std::string& kind = "document") {
  return " -> the " + kind + " name <" + shown + "> cannot be written into an XML document: it holds " + why + "\n";
}

// Tab, DEL, U+FFFD and the neighbours of U+FFFE are characters XML carries; every other character XML refuses is named.
TEST(XmlSafeName, TextXmlCarriesPassesAndEveryOffenceIsNamed) {
  for (const std::string name : {"out.xdmf", "run\t1.h5", "sub/Übersicht.xdmf", "\xe4\xb8\xad.h5",
                                 "flood \xf0\x9f\x8c\x8a.xdmf", "del\x7f.h5", "a\xef\xbf\xbd\xf0\x90\x80\x80.xdmf", ""})
    EXPECT_EQ(reportFor(name), "no BaseException") << name;
  // Every control character but tab is refused.
  for (int byte = 1; byte < 0x20; ++byte) {
    if (byte == '\t') continue;
    char shown[5];
    std::snprintf(shown, sizeof(shown), "\\x%02x", byte);
    EXPECT_EQ(reportFor("out" + std::string(1, static_cast<char>(byte)) + ".xdmf"),
              refusal(std::string("out") + shown + ".xdmf", std::string("the control character ") + shown));
  }
  EXPECT_EQ(reportFor(std::string("run\0.h5", 7), "results file"),
            refusal("run\\x00.h5", "the control character \\x00", "results file"));
  // Bytes that are not UTF-8 and non-characters are refused; the line names the first offence and shows every one.
  const std::pair<std::string, std::string> cases[] = {
      {"\x80", "\\x80"},              // a continuation byte alone
      {"\xc0\xae", "\\xc0"},          // an overlong '.'
      {"\xe0\x80\xaf", "\\xe0"},      // an overlong '/'
      {"\xed\xa0\x80", "\\xed"},      // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4"},  // beyond U+10FFFF
      {"\xe2\x82", "\\xe2"},          // cut short
      {"\xf5\x80\x80\x80", "\\xf5"},  // no lead byte
      {"\xff", "\\xff"}};
  for (const auto& [bytes, first] : cases) {
    const std::string report = reportFor("a" + bytes + ".xdmf");
    EXPECT_EQ(report.rfind(" -> the document name <a" + first, 0), 0u) << report;
    const std::string offence = "> cannot be written into an XML document: it holds the byte " + first;
    EXPECT_NE(report.find(offence + ", which is not UTF-8\n"), std::string::npos) << report;
  }
  EXPECT_EQ(reportFor("\xc3\xa9\xff\n\xc3\xa9", "auxiliary file"),
            refusal("\xc3\xa9\\xff\\x0a\xc3\xa9", "the byte \\xff, which is not UTF-8", "auxiliary file"));
  // U+FFFE and U+FFFF are well-formed UTF-8 that XML refuses.
  for (const auto& [bytes, code] : {std::pair{"\xef\xbf\xbe", "FFFE"}, std::pair{"\xef\xbf\xbf", "FFFF"}})
    EXPECT_EQ(reportFor(std::string(bytes)),
              refusal(bytes, std::string("the character U+") + code + ", which XML does not carry"));
}

// The stem ends at the first point of the file name; points in folders do not cut.
TEST(FileReferences, StemReferenceAndFolderOfAName) {
  const std::pair<std::string, std::string> stems[] = {
      {"a.b.xdmf", "a"}, {".xdmf", ""}, {"out", "out"}, {"../res.xdmf", "../res"}, {"/data/v1.2/run", "/data/v1.2/run"},
      {"dir/.xdmf", "dir/"}};
  for (const auto& [name, stem] : stems) EXPECT_EQ(results::outputStem(name), stem) << name;
  // Relative to the document folder; unchanged from the working folder or when absolute.
  const std::string working = std::filesystem::current_path().filename().string();
  const std::string references[][3] = {
      {"", "./data/../run.h5", "./data/../run.h5"}, {"sub", "/abs/run.h5", "/abs/run.h5"},
      {"sub", "run.h5", "../run.h5"},               {"./sub", "sub/out_aux.h5", "out_aux.h5"},
      {"a/b", "x/run.h5", "../../x/run.h5"},        {"../elsewhere", "run.h5", "../" + working + "/run.h5"}};
  for (const auto& r : references) EXPECT_EQ(results::referenceFrom(r[0], r[1]), r[2]) << r[0] << " " << r[1];
  const std::pair<const char*, const char*> folders[] = {{"out.xdmf", ""}, {"sub/out.xdmf", "sub"}, {"/out.xdmf", "/"}};
  for (const auto& [name, folder] : folders) EXPECT_EQ(results::folderOf(name), folder) << name;
}
