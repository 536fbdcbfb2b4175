#pragma once
// Annotations keyed by the document pointer of their item, one per pointer.

#include <cstddef>
#include <map>
#include <string>

#include "validator/annotations/Annotation.hpp"
#include "validator/PointerText.hpp"

namespace jsv {

class AbstractAnnotationCollection {
 public:
  virtual ~AbstractAnnotationCollection() = default;
  virtual void add(const JsonPointer& pointer, const Annotation& annotation) = 0;
};

class AnnotationCollection : public AbstractAnnotationCollection {
 public:
  // A pointer keeps its first annotation; later ones are dropped.
  void add(const JsonPointer& pointer, const Annotation& annotation) override;

  std::size_t count(Severity severity) const;

  // One line per error or warning in pointer-text order, e.g.
  //   /RESULTS: Error: This item is required but missing.
  // joined by line feeds, none after the last.
  std::string format() const;

 private:
  std::map<JsonPointer, Annotation, PointerTextOrder> annotations;
};

// Admits errors and warnings only.
struct IssueFilter {
  static bool admits(const Annotation& annotation);
};

// Annotations that the filter refuses never occupy a pointer.
template <typename Filter>
class FilteredAnnotationCollection : public AnnotationCollection {
 public:
  void add(const JsonPointer& pointer, const Annotation& annotation) override {
    if (Filter::admits(annotation)) AnnotationCollection::add(pointer, annotation);
  }
};

}  // namespace jsv
