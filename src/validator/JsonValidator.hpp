#pragma once
// The entry of the jsv validator: parses a document and a schema, walks them
// together and prints the errors and warnings it finds, one line each.

#include <istream>
#include <ostream>
#include <string>

namespace jsv {

enum class ValidationStatus : int {
  NoIssues = 0,
  WarningsOnly = 1,
  // At least one error, or a run that stopped early (parse failure, schema error).
  Errors = 2
};

class JsonValidator {
 public:
  // Findings go to `findings`; a null pointer prints nothing.
  explicit JsonValidator(std::ostream* findings);

  ValidationStatus validate(std::istream& document, std::istream& schema);

 private:
  void writeLine(const std::string& text) const;

  std::ostream* output;
};

}  // namespace jsv
