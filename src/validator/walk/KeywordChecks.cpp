// The checks that keywords make on the value itself.

#include <algorithm>

#include "validator/JsonTypes.hpp"
#include "validator/walk/Walk.hpp"

using nlohmann::json;

namespace jsv {

namespace {

bool isStringEqualTo(const json& value, const std::string& text) {
  return value.is_string() && value.get_ref<const std::string&>() == text;
}

// A pointer that designates nothing, or cannot be followed, yields null.
const json& lookUp(const json& document, const JsonPointer& pointer) {
  static const json nothing;
  try {
    if (document.contains(pointer)) return document.at(pointer);
  } catch (const json::exception&) {
  }
  return nothing;
}

// Elements that are not objects, or lack a string member of that name, offer nothing.
std::vector<std::string> itemProperties(const json& array, const std::string& itemProperty) {
  std::vector<std::string> values;
  if (!array.is_array()) return values;
  for (const auto& element : array) {
    if (!element.is_object()) continue;
    const auto member = element.find(itemProperty);
    if (member != element.end() && member->is_string()) values.push_back(member->get<std::string>());
  }
  return values;
}

}  // namespace

void Walk::apply(const TypeKeyword& keyword, const Target& target) {
  record(target.at, TypeNote{keyword.typeCode});
  if (!matchesType(target.value, keyword.typeCode)) record(target.at, WrongType{keyword.typeCode});
}

void Walk::apply(const ConstKeyword& keyword, const Target& target) {
  if (!isStringEqualTo(target.value, keyword.constant)) record(target.at, ConstantMismatch{keyword.constant});
}

void Walk::apply(const EnumKeyword& keyword, const Target& target) {
  const bool allowed = std::any_of(keyword.allowed.begin(), keyword.allowed.end(),
                                   [&](const std::string& text) { return isStringEqualTo(target.value, text); });
  if (!allowed) record(target.at, NotInEnumeration{keyword.allowed});
  record(target.at, AllowedValuesNote{keyword.allowed});
}

void Walk::apply(const MinimumKeyword& keyword, const Target& target) {
  if (!target.value.is_number()) return;
  const double value = target.value.get<double>();
  if (keyword.exclusive && !(value > keyword.bound)) record(target.at, NotAboveExclusiveMinimum{keyword.bound});
  if (!keyword.exclusive && !(value >= keyword.bound)) record(target.at, BelowMinimum{keyword.bound});
}

void Walk::apply(const MaximumKeyword& keyword, const Target& target) {
  if (!target.value.is_number()) return;
  const double value = target.value.get<double>();
  if (keyword.exclusive && !(value < keyword.bound)) record(target.at, NotBelowExclusiveMaximum{keyword.bound});
  if (!keyword.exclusive && !(value <= keyword.bound)) record(target.at, AboveMaximum{keyword.bound});
}

void Walk::apply(const RequiredKeyword& keyword, const Target& target) {
  if (!target.value.is_object()) return;
  MembersNote present;
  for (const auto& name : keyword.names) {
    if (target.value.contains(name)) {
      present.names.push_back(name);
      target.accounted.insert(name);
    } else {
      record(target.at / name, RequiredMemberMissing{});
    }
  }
  record(target.at, std::move(present));
}

void Walk::apply(const RequiredInKeyword& keyword, const Target& target) {
  const auto candidates = itemProperties(lookUp(document, keyword.arrayReference), keyword.itemProperty);
  const bool matches = std::any_of(candidates.begin(), candidates.end(),
                                   [&](const std::string& text) { return isStringEqualTo(target.value, text); });
  if (!matches) record(target.at, ReferenceMismatch{keyword.itemProperty, pointerText(keyword.arrayReference)});
}

void Walk::apply(const OptionalKeyword& keyword, const Target& target) {
  if (!target.value.is_object()) return;
  MembersNote present;
  for (const auto& name : keyword.names) {
    if (target.value.contains(name)) present.names.push_back(name);
    target.accounted.insert(name);
  }
  record(target.at, std::move(present));
}

void Walk::apply(const DefaultKeyword& keyword, const Target& target) { record(target.at, DefaultNote{keyword.value}); }

void Walk::apply(const FormatKeyword& keyword, const Target& target) { record(target.at, FormatNote{keyword.format}); }

void Walk::apply(const DescriptionKeyword& keyword, const Target& target) {
  record(target.at, DescriptionNote{keyword.description});
}

void Walk::apply(const PassedOverKeyword&, const Target&) {}

}  // namespace jsv
