#pragma once
// One validator run on two texts, with what it printed.

#include <sstream>
#include <string>

#include "validator/JsonValidator.hpp"

namespace validator_testing {

struct ValidationRun {
  jsv::ValidationStatus status;
  std::string printed;
};

inline ValidationRun validateTexts(const std::string& document, const std::string& schema) {
  std::ostringstream printed;
  std::istringstream documentStream(document);
  std::istringstream schemaStream(schema);
  const auto status = jsv::JsonValidator(&printed).validate(documentStream, schemaStream);
  return {status, printed.str()};
}

// The text of a run that stopped at a schema error.
inline std::string schemaErrorReport(const std::string& line) {
  return "An error occurred while validating the JSON file using the provided schema:\n" + line + "\n";
}

}  // namespace validator_testing
