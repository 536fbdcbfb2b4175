#pragma once
// The type rules of the command-file reader: which JSON values a typed query
// accepts, and what a reporting query returns for an absent item.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace dataio {

// Nothing for a value of the wrong JSON type. Vector elements go through the
// library's conversion, whose type error 302 leaves the query.
template <typename T>
std::optional<T> converted(const nlohmann::json& value);

template <>
std::optional<bool> converted(const nlohmann::json& value);
template <>
std::optional<int> converted(const nlohmann::json& value);
template <>
std::optional<double> converted(const nlohmann::json& value);
template <>
std::optional<std::string> converted(const nlohmann::json& value);
template <>
std::optional<std::vector<int>> converted(const nlohmann::json& value);
template <>
std::optional<std::vector<double>> converted(const nlohmann::json& value);
template <>
std::optional<std::vector<std::string>> converted(const nlohmann::json& value);

// false, the smallest int, a quiet NaN, or an empty string or vector.
template <typename T>
T absentValue() {
  return T();
}
template <>
int absentValue<int>();
template <>
double absentValue<double>();

}  // namespace dataio
