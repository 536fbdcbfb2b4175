#include <gtest/gtest.h>

#include "results/files/XmlSafeName.hpp"
#include "support/FailureReport.hpp"

using testing_support::failureReport;

namespace {

std::string reportFor(const std::string& name) {
  return failureReport([&] { results::requireXmlSafeName("document", name); });
}

}  // namespace

TEST(XmlSafeName, TextXmlCarriesPasses) {
  for (const std::string name : {"out.xdmf", "run\t1.h5", "sub/Übersicht.xdmf", "\xe4\xb8\xad.h5",
                                 "flood \xf0\x9f\x8c\x8a.xdmf", "del\x7f.h5", "\xef\xbf\xbd.h5", ""})
    EXPECT_EQ(reportFor(name), "no BaseException") << name;
}

TEST(XmlSafeName, EveryControlCharacterButTabIsRefused) {
  for (int byte = 1; byte < 0x20; ++byte) {
    if (byte == '\t') continue;
    const std::string name = "out" + std::string(1, static_cast<char>(byte)) + ".xdmf";
    char shown[5];
    std::snprintf(shown, sizeof(shown), "\\x%02x", byte);
    EXPECT_EQ(reportFor(name), std::string(" -> the document name <out") + shown +
                                   ".xdmf> cannot be written into an XML document: it holds the control character " +
                                   shown + "\n");
  }
  EXPECT_EQ(failureReport([] { results::requireXmlSafeName("results file", std::string("run\0.h5", 7)); }),
            " -> the results file name <run\\x00.h5> cannot be written into an XML document: it holds the control "
            "character \\x00\n");
}

// The line names the first offence and shows every one.
TEST(XmlSafeName, BytesThatAreNotUtf8AreRefused) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\x80", "\\x80"},                  // a continuation byte alone
      {"\xc0\xae", "\\xc0"},              // an overlong '.'
      {"\xe0\x80\xaf", "\\xe0"},          // an overlong '/'
      {"\xed\xa0\x80", "\\xed"},          // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4"},      // beyond U+10FFFF
      {"\xe2\x82", "\\xe2"},              // cut short
      {"\xf5\x80\x80\x80", "\\xf5"},      // no lead byte
      {"\xff", "\\xff"}};
  for (const auto& [bytes, first] : cases) {
    const std::string report = reportFor("a" + bytes + ".xdmf");
    EXPECT_EQ(report.rfind(" -> the document name <a" + first, 0), 0u) << report;
    EXPECT_NE(report.find("> cannot be written into an XML document: it holds the byte " + first +
                          ", which is not UTF-8\n"),
              std::string::npos)
        << report;
  }
  EXPECT_EQ(failureReport([] { results::requireXmlSafeName("auxiliary file", "\xc3\xa9\xff\n\xc3\xa9"); }),
            " -> the auxiliary file name <\xc3\xa9\\xff\\x0a\xc3\xa9> cannot be written into an XML document: it "
            "holds the byte \\xff, which is not UTF-8\n");
}

// U+FFFE and U+FFFF are well-formed UTF-8 that XML refuses; their neighbours
// are characters. A long name is shown cut, its length told.
TEST(XmlSafeName, NonCharactersAreRefusedAndLongNamesShownCut) {
  EXPECT_EQ(reportFor("a\xef\xbf\xbe.xdmf"), " -> the document name <a\xef\xbf\xbe.xdmf> cannot be written into an XML "
                                             "document: it holds the character U+FFFE, which XML does not carry\n");
  EXPECT_EQ(reportFor("a\xef\xbf\xbf.xdmf"), " -> the document name <a\xef\xbf\xbf.xdmf> cannot be written into an XML "
                                             "document: it holds the character U+FFFF, which XML does not carry\n");
  EXPECT_EQ(reportFor("a\xef\xbf\xbd\xf0\x90\x80\x80.xdmf"), "no BaseException");
  const std::string name = std::string(5000, 'n') + "\x01.xdmf";
  EXPECT_EQ(reportFor(name), " -> the document name <" + std::string(200, 'n') +
                                 "... (5006 bytes)> cannot be written into an XML document: it holds the control "
                                 "character \\x01\n");
}
