#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "interfaces/Failure.hpp"
#include "support/CerrCapture.hpp"

using testing_support::CerrCapture;

namespace {

std::string failedCheckOutput(double time) {
  CerrCapture capture;
  try {
    RESULTS_CHECK(time < 0.0, "not all needed results are found for t=", time, "s");
  } catch (const BaseException&) {
    return capture.text();
  }
  return "no exception";
}

}  // namespace

TEST(BaseException, WhatIsAlwaysTheKilledText) {
  BaseException e;
  EXPECT_STREQ(e.what(), "... unfortunately TORVANEL is killed!");
  EXPECT_EQ(std::string(e.what()).size(), 37u);
  const std::exception& asStd = e;
  EXPECT_STREQ(asStd.what(), "... unfortunately TORVANEL is killed!");
}

TEST(Fail, PrintsArrowAndPiecesThenThrows) {
  CerrCapture capture;
  EXPECT_THROW(failure::fail("output format <", "XDMF", "> not valid"), BaseException);
  EXPECT_EQ(capture.text(), " -> output format <XDMF> not valid\n");
}

TEST(Fail, NumbersUseDefaultStreamFormatting) {
  CerrCapture capture;
  EXPECT_THROW(failure::fail("kernel <", 21, "> at ", 12.5, " and ", 1.0 / 3.0), BaseException);
  EXPECT_EQ(capture.text(), " -> kernel <21> at 12.5 and 0.333333\n");
}

TEST(Check, MessageWithDoubleInSixSignificantDigits) {
  const std::string line = failedCheckOutput(12.5);
  const std::string expectedStart = " -> not all needed results are found for t=12.5s, in file: ";
  EXPECT_EQ(line.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(line.find("12.500000"), std::string::npos);
  EXPECT_NE(line.find("tests/app/FailureTest.cpp on line "), std::string::npos);
  EXPECT_EQ(line.substr(line.size() - std::string(", version v3.1.0\n").size()), ", version v3.1.0\n");
  EXPECT_EQ(failedCheckOutput(30.0).find("t=30s, in file: "), std::string("not all needed results are found for ").size() + 4);
}

TEST(Check, EmptyMessageShowsTheConditionText) {
  CerrCapture capture;
  const int size = 2;
  const int expected = 3;
  const int line = __LINE__ + 1;
  EXPECT_THROW(RESULTS_CHECK(size == expected, ""), BaseException);
  EXPECT_EQ(capture.text(), " -> size == expected, in file: tests/app/FailureTest.cpp on line " +
                                std::to_string(line) + ", version v3.1.0\n");
}

TEST(Check, NonEmptyMessageHidesTheConditionText) {
  const std::string text = failure::checkMessage("this->meshAdded", "src/dataio/xdmf/XdmfWriter.cpp", 42,
                                                 "you must define a mesh before adding a time step!");
  EXPECT_EQ(text,
            "you must define a mesh before adding a time step!, in file: src/dataio/xdmf/XdmfWriter.cpp on line 42, "
            "version v3.1.0");
}

TEST(Check, HoldingConditionPrintsNothing) {
  CerrCapture capture;
  EXPECT_NO_THROW(RESULTS_CHECK(1 + 1 == 2, "never shown"));
  EXPECT_EQ(capture.text(), "");
}
