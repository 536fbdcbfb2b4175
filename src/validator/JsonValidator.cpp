#include "validator/JsonValidator.hpp"

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "validator/RepeatedMembers.hpp"
#include "validator/annotations/AnnotationCollection.hpp"
#include "validator/schema/SchemaExceptions.hpp"
#include "validator/walk/Walk.hpp"

using nlohmann::json;

namespace jsv {

namespace {

// A run that cannot start; its text is the whole report.
class CannotValidateException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The parser itself does not recurse, but serialising, copying and walking
// the value do: deeper nesting is refused as a parse failure.
constexpr int maximumNesting = 512;

json parse(std::istream& stream, const std::string& name, RepeatedMembers* repeated = nullptr) {
  const std::string failed = "Parsing the " + name + " file failed: ";
  const auto refuseDeepNesting = [&](int depth, json::parse_event_t event, json& parsed) {
    const bool opens = event == json::parse_event_t::object_start || event == json::parse_event_t::array_start;
    if (opens && depth >= maximumNesting)
      throw CannotValidateException(failed + "nesting deeper than " + std::to_string(maximumNesting) + " levels");
    if (repeated != nullptr) repeated->seen(event, parsed);
    return true;
  };
  try {
    return json::parse(stream, refuseDeepNesting);
  } catch (const json::exception& e) {
    throw CannotValidateException(failed + e.what());
  }
}

ValidationStatus statusOf(const AnnotationCollection& annotations) {
  if (annotations.count(Severity::Error) > 0) return ValidationStatus::Errors;
  if (annotations.count(Severity::Warning) > 0) return ValidationStatus::WarningsOnly;
  return ValidationStatus::NoIssues;
}

}  // namespace

JsonValidator::JsonValidator(std::ostream* findings) : output(findings) {}

ValidationStatus JsonValidator::validate(std::istream& documentStream, std::istream& schemaStream) {
  try {
    RepeatedMembers repeated;
    const json document = parse(documentStream, "JSON data", &repeated);
    const json schema = parse(schemaStream, "JSON schema");
    FilteredAnnotationCollection<IssueFilter> annotations;
    try {
      Walk(document, schema, annotations).run();
    } catch (const InvalidSchemaException& e) {
      writeLine("An error occurred while validating the JSON file using the provided schema:");
      writeLine(e.what());
      return ValidationStatus::Errors;
    }
    // After the walk: what the walk found about the value that counts comes
    // first at its pointer.
    for (const JsonPointer& pointer : repeated.pointers()) annotations.add(pointer, Annotation{RepeatedMember{}});
    writeLine(annotations.format());
    return statusOf(annotations);
  } catch (const CannotValidateException& e) {
    writeLine(e.what());
    return ValidationStatus::Errors;
  }
}

void JsonValidator::writeLine(const std::string& text) const {
  if (output != nullptr && !text.empty()) *output << text << std::endl;
}

}  // namespace jsv
