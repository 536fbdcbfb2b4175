#include "validator/annotations/AnnotationCollection.hpp"

#include "interfaces/EchoedText.hpp"

namespace jsv {

namespace {

const char* severityPrefix(Severity severity) {
  switch (severity) {
    case Severity::Error: return "Error: ";
    case Severity::Warning: return "Warning: ";
    default: return nullptr;
  }
}

}  // namespace

void AnnotationCollection::add(const JsonPointer& pointer, const Annotation& annotation) {
  annotations.emplace(pointer, annotation);
}

std::size_t AnnotationCollection::count(Severity severity) const {
  std::size_t counted = 0;
  for (const auto& entry : annotations)
    if (entry.second.severity() == severity) ++counted;
  return counted;
}

std::string AnnotationCollection::format() const {
  std::string text;
  for (const auto& [pointer, annotation] : annotations) {
    const char* prefix = severityPrefix(annotation.severity());
    if (prefix == nullptr) continue;
    if (!text.empty()) text += '\n';
    // A key is the user's text: a long or hostile one is shown cut and escaped.
    text += text::echoed(pointerText(pointer)) + ": " + prefix + annotation.text();
  }
  return text;
}

bool IssueFilter::admits(const Annotation& annotation) { return annotation.severity() != Severity::Informational; }

}  // namespace jsv
