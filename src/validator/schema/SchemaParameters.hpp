#pragma once
// Checks of keyword parameters; each throws the schema error for the pointer
// of the parameter it was given.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "validator/PointerText.hpp"

namespace jsv {

// "This item is required." for the member's pointer when it is absent.
const nlohmann::json& requiredMember(const nlohmann::json& object, const JsonPointer& at, const std::string& name);

// "This keyword requires <phrase> parameter." for the wrong JSON type.
std::string stringParameter(const nlohmann::json& parameter, const JsonPointer& at);
double numberParameter(const nlohmann::json& parameter, const JsonPointer& at);
void requireObject(const nlohmann::json& parameter, const JsonPointer& at);
void requireArray(const nlohmann::json& parameter, const JsonPointer& at);
// An array whose elements are strings; a wrong element is named by its own pointer.
std::vector<std::string> stringListParameter(const nlohmann::json& parameter, const JsonPointer& at);

// "Only single items are supported." unless exactly one member or element.
void requireSingleEntry(const nlohmann::json& parameter, const JsonPointer& at);

}  // namespace jsv
