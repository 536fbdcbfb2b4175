#include "validator/annotations/Annotation.hpp"

#include <cstdio>

#include "validator/JsonTypes.hpp"

namespace jsv {

namespace {

// printf "%f": 0 is 0.000000, 1.5 is 1.500000.
std::string boundText(double bound) {
  const int length = std::snprintf(nullptr, 0, "%f", bound);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%f", bound);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The head, then " 'name'," per name; the last character becomes a full stop,
// the colon itself when there are no names.
std::string quotedList(const std::string& head, const std::vector<std::string>& names) {
  std::string text = head;
  for (const auto& name : names) text += " '" + name + "',";
  text.back() = '.';
  return text;
}

}  // namespace

std::string ConstantMismatch::text() const { return "This value must be equal to '" + constant + "'."; }

std::string NotInEnumeration::text() const {
  return quotedList("This value must be equal to one of the following:", allowed);
}

std::string MoreThanOneAlternative::text() const {
  return "Only one of the following two items is allowed: '" + first + "', '" + second + "'.";
}

std::string BelowMinimum::text() const {
  return "This value must be greater than or equal to " + boundText(bound) + ".";
}

std::string NotAboveExclusiveMinimum::text() const {
  return "This value must be greater than " + boundText(bound) + ".";
}

std::string AboveMaximum::text() const { return "This value must be less than or equal to " + boundText(bound) + "."; }

std::string NotBelowExclusiveMaximum::text() const { return "This value must be less than " + boundText(bound) + "."; }

std::string WrongType::text() const { return "This value must be " + typePhrase(typeCode) + "."; }

std::string RequiredMemberMissing::text() const { return "This item is required but missing."; }

std::string NoAlternativePresent::text() const {
  return quotedList("One of the following items must be provided:", names);
}

std::string ReferenceMismatch::text() const {
  return "This value must match a '" + itemProperty + "' in '" + arrayReference + "'.";
}

std::string IgnoredMember::text() const { return "The value of this item will not be used."; }

std::string InvalidItem::text() const { return "This item is invalid."; }

std::string RepeatedMember::text() const {
  return "This member is given more than once; only its last value is used.";
}

Severity Annotation::severity() const {
  return absl::visit([](const auto& found) { return found.severity; }, kind);
}

std::string Annotation::text() const {
  return absl::visit([](const auto& found) { return found.text(); }, kind);
}

}  // namespace jsv
