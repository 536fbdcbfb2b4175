#pragma once
// The validation walk: the document and the schema are walked together, and
// every finding is added to the collection under the document pointer of its
// item.

#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "validator/annotations/AnnotationCollection.hpp"
#include "validator/schema/Keywords.hpp"

namespace jsv {

class Walk {
 public:
  Walk(const nlohmann::json& document, const nlohmann::json& schema, AbstractAnnotationCollection& collection);

  // From the root of both; schema errors leave as InvalidSchemaException.
  void run();

 private:
  using Names = std::set<std::string>;

  // The document value under test, where it stands, and the member names that
  // the keywords of the current schema node account for.
  struct Target {
    const nlohmann::json& value;
    const JsonPointer& at;
    Names& accounted;
  };

  void step(const nlohmann::json& value, const JsonPointer& at, const SchemaNode& node);
  void applyKeywords(const Target& target, const SchemaNode& node);
  void reportIgnoredMembers(const Target& target);

  void apply(const TypeKeyword& keyword, const Target& target);
  void apply(const ConstKeyword& keyword, const Target& target);
  void apply(const EnumKeyword& keyword, const Target& target);
  void apply(const MinimumKeyword& keyword, const Target& target);
  void apply(const MaximumKeyword& keyword, const Target& target);
  void apply(const RequiredKeyword& keyword, const Target& target);
  void apply(const PropertiesKeyword& keyword, const Target& target);
  void apply(const ItemsKeyword& keyword, const Target& target);
  void apply(const OneOfKeyword& keyword, const Target& target);
  void apply(const OneOfNames& keyword, const Target& target);
  void apply(const OneOfCases& keyword, const Target& target);
  void apply(const AllOfKeyword& keyword, const Target& target);
  void apply(const RequiredInKeyword& keyword, const Target& target);
  void apply(const OptionalKeyword& keyword, const Target& target);
  void apply(const DefaultKeyword& keyword, const Target& target);
  void apply(const FormatKeyword& keyword, const Target& target);
  void apply(const DescriptionKeyword& keyword, const Target& target);
  void apply(const PassedOverKeyword& keyword, const Target& target);

  template <typename Kind>
  void record(const JsonPointer& at, Kind kind) {
    collection.add(at, Annotation{std::move(kind)});
  }

  const nlohmann::json& document;
  const nlohmann::json& schema;
  AbstractAnnotationCollection& collection;
};

}  // namespace jsv
