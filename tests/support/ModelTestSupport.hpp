#pragma once
// Capturing what the model catalogue prints and how it fails.

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <regex>
#include <string>

#include "interfaces/Failure.hpp"
#include "interfaces/IModel.hpp"
#include "support/CerrCapture.hpp"
#include "support/FailureReport.hpp"

namespace model_testing {

using testing_support::StreamCapture;

// What a statement that must fail with BaseException wrote to std::cerr, with
// the line number of the check replaced by N.
template <typename Statement>
std::string failureText(Statement statement) {
  StreamCapture progress(std::cout);
  const std::string report = testing_support::failureReport(statement);
  return std::regex_replace(report, std::regex(" on line [0-9]+,"), " on line N,");
}

inline std::string checkLine(const std::string& message, const std::string& file) {
  return " -> " + message + ", in file: src/model/" + file + " on line N, version v3.1.0\n";
}

// compose with its progress lines swallowed.
std::unique_ptr<api::IModel> composeQuietly(const std::string& definition);

}  // namespace model_testing
