#include "validator/walk/Walk.hpp"

#include <algorithm>

#include "validator/JsonTypes.hpp"
#include "validator/schema/SchemaExceptions.hpp"

using nlohmann::json;

namespace jsv {

Walk::Walk(const json& documentValue, const json& schemaValue, AbstractAnnotationCollection& annotations)
    : document(documentValue), schema(schemaValue), collection(annotations) {}

void Walk::run() { step(document, JsonPointer(), SchemaNode{schema, JsonPointer()}); }

void Walk::step(const json& value, const JsonPointer& at, const SchemaNode& node) {
  if (node.value.is_boolean()) {
    if (!node.value.get<bool>()) record(at, InvalidItem{});
    return;
  }
  if (!node.value.is_object())
    throw InvalidSchemaException(node.pointer, "A schema must be defined by either an object or a boolean.");
  Names accounted;
  const Target target{value, at, accounted};
  applyKeywords(target, node);
  reportIgnoredMembers(target);
}

// Members in the parsed object's order, i.e. by keyword name: the first
// failing keyword in that order decides an item's message.
void Walk::applyKeywords(const Target& target, const SchemaNode& node) {
  for (const auto& member : node.value.items()) {
    const Keyword keyword = compileKeyword(node, member.key());
    absl::visit([&](const auto& recognised) { apply(recognised, target); }, keyword);
  }
}

void Walk::reportIgnoredMembers(const Target& target) {
  if (!target.value.is_object()) return;
  for (const auto& member : target.value.items())
    if (target.accounted.count(member.key()) == 0) record(target.at / member.key(), IgnoredMember{});
}

// Describing a member validates it but does not make it expected.
void Walk::apply(const PropertiesKeyword& keyword, const Target& target) {
  if (!target.value.is_object()) return;
  MembersNote described;
  for (const auto& property : keyword.subschemas->items()) {
    const auto member = target.value.find(property.key());
    if (member == target.value.end()) continue;
    described.names.push_back(property.key());
    step(*member, target.at / property.key(), SchemaNode{property.value(), keyword.pointer / property.key()});
  }
  record(target.at, std::move(described));
}

void Walk::apply(const ItemsKeyword& keyword, const Target& target) {
  if (!target.value.is_array()) return;
  for (std::size_t index = 0; index < target.value.size(); ++index)
    step(target.value[index], target.at / index, SchemaNode{*keyword.subschema, keyword.pointer});
}

void Walk::apply(const OneOfKeyword& keyword, const Target& target) {
  absl::visit([&](const auto& form) { apply(form, target); }, keyword);
}

void Walk::apply(const OneOfNames& keyword, const Target& target) {
  if (!target.value.is_object()) return;
  Names present;
  for (const auto& name : keyword.names)
    if (target.value.contains(name)) present.insert(name);
  if (present.empty()) record(target.at, NoAlternativePresent{keyword.names});
  if (present.size() > 1) record(target.at, MoreThanOneAlternative{*present.begin(), *std::next(present.begin())});
  target.accounted.insert(present.begin(), present.end());
}

// The chosen case's own "properties", "required" and "oneOf" apply to the
// object as if they stood in the enclosing node.
void Walk::apply(const OneOfCases& keyword, const Target& target) {
  if (!target.value.is_object()) return;
  const JsonPointer discriminatorAt = target.at / keyword.discriminator;
  const auto discriminator = target.value.find(keyword.discriminator);
  if (discriminator == target.value.end()) return record(discriminatorAt, RequiredMemberMissing{});
  target.accounted.insert(keyword.discriminator);
  if (!discriminator->is_string()) return record(discriminatorAt, WrongType{StringType});
  const auto chosen = std::find_if(keyword.cases.begin(), keyword.cases.end(), [&](const OneOfCase& oneCase) {
    return oneCase.constant == discriminator->get_ref<const std::string&>();
  });
  if (chosen == keyword.cases.end()) {
    NotInEnumeration mismatch;
    for (const auto& oneCase : keyword.cases) mismatch.allowed.push_back(oneCase.constant);
    std::sort(mismatch.allowed.begin(), mismatch.allowed.end());
    return record(discriminatorAt, std::move(mismatch));
  }
  applyKeywords(target, SchemaNode{*chosen->alternative, chosen->pointer});
}

void Walk::apply(const AllOfKeyword& keyword, const Target& target) {
  for (const auto& oneOf : keyword.oneOfs) apply(oneOf, target);
}

}  // namespace jsv
