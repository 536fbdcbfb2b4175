#pragma once
// What the walk finds about one document item: a kind with its payload, of
// severity error, warning or informational.

#include <absl/types/variant.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace jsv {

enum class Severity { Error, Warning, Informational };

struct ConstantMismatch {
  static constexpr Severity severity = Severity::Error;
  std::string constant;
  std::string text() const;
};
struct NotInEnumeration {
  static constexpr Severity severity = Severity::Error;
  std::vector<std::string> allowed;
  std::string text() const;
};
struct MoreThanOneAlternative {
  static constexpr Severity severity = Severity::Error;
  std::string first;
  std::string second;
  std::string text() const;
};
struct BelowMinimum {
  static constexpr Severity severity = Severity::Error;
  double bound;
  std::string text() const;
};
struct NotAboveExclusiveMinimum {
  static constexpr Severity severity = Severity::Error;
  double bound;
  std::string text() const;
};
struct AboveMaximum {
  static constexpr Severity severity = Severity::Error;
  double bound;
  std::string text() const;
};
struct NotBelowExclusiveMaximum {
  static constexpr Severity severity = Severity::Error;
  double bound;
  std::string text() const;
};
struct WrongType {
  static constexpr Severity severity = Severity::Error;
  int typeCode;
  std::string text() const;
};
struct RequiredMemberMissing {
  static constexpr Severity severity = Severity::Error;
  std::string text() const;
};
struct NoAlternativePresent {
  static constexpr Severity severity = Severity::Error;
  std::vector<std::string> names;
  std::string text() const;
};
struct ReferenceMismatch {
  static constexpr Severity severity = Severity::Error;
  std::string itemProperty;
  std::string arrayReference;
  std::string text() const;
};
struct IgnoredMember {
  static constexpr Severity severity = Severity::Warning;
  std::string text() const;
};
struct InvalidItem {
  static constexpr Severity severity = Severity::Error;
  std::string text() const;
};
struct RepeatedMember {
  static constexpr Severity severity = Severity::Warning;
  std::string text() const;
};

// What a keyword accounted for; recorded, never printed.
struct TypeNote {
  static constexpr Severity severity = Severity::Informational;
  int typeCode;
  std::string text() const { return {}; }
};
struct AllowedValuesNote {
  static constexpr Severity severity = Severity::Informational;
  std::vector<std::string> allowed;
  std::string text() const { return {}; }
};
struct FormatNote {
  static constexpr Severity severity = Severity::Informational;
  std::string format;
  std::string text() const { return {}; }
};
struct DescriptionNote {
  static constexpr Severity severity = Severity::Informational;
  std::string description;
  std::string text() const { return {}; }
};
struct DefaultNote {
  static constexpr Severity severity = Severity::Informational;
  nlohmann::json value;
  std::string text() const { return {}; }
};
// The members that "properties", "required" or "optional" account for.
struct MembersNote {
  static constexpr Severity severity = Severity::Informational;
  std::vector<std::string> names;
  std::string text() const { return {}; }
};

using AnnotationKind =
    absl::variant<ConstantMismatch, NotInEnumeration, MoreThanOneAlternative, BelowMinimum, NotAboveExclusiveMinimum,
                  AboveMaximum, NotBelowExclusiveMaximum, WrongType, RequiredMemberMissing, NoAlternativePresent,
                  ReferenceMismatch, IgnoredMember, InvalidItem, RepeatedMember, TypeNote, AllowedValuesNote, FormatNote,
                  DescriptionNote, DefaultNote, MembersNote>;

struct Annotation {
  AnnotationKind kind;
  Severity severity() const;
  std::string text() const;
};

}  // namespace jsv
