#include "dataio/json/JsonConversion.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace dataio {

namespace {

// Truncation toward zero; a value beyond the int range gives the nearest
// bound instead of the undefined result of a plain cast.
int truncatedToInt(double value) {
  constexpr double lowest = std::numeric_limits<int>::min();
  constexpr double highest = std::numeric_limits<int>::max();
  if (std::isnan(value)) return absentValue<int>();
  if (value <= lowest) return std::numeric_limits<int>::min();
  if (value >= highest) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

// Integers keep their low 32 bits.
int narrowedToInt(const nlohmann::json& number) {
  if (number.is_number_unsigned()) return static_cast<int>(static_cast<std::uint32_t>(number.get<std::uint64_t>()));
  return static_cast<int>(static_cast<std::uint32_t>(number.get<std::int64_t>()));
}

int numberToInt(const nlohmann::json& number) {
  return number.is_number_float() ? truncatedToInt(number.get<double>()) : narrowedToInt(number);
}

}  // namespace

template <>
int absentValue<int>() {
  return std::numeric_limits<int>::min();
}

// The quiet NaN with the sign bit set (0xFFF8000000000000), as the
// processor's own invalid operations yield it.
template <>
double absentValue<double>() {
  constexpr std::uint64_t bits = 0xFFF8000000000000u;
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

template <>
std::optional<bool> converted(const nlohmann::json& value) {
  if (!value.is_boolean()) return std::nullopt;
  return value.get<bool>();
}

template <>
std::optional<int> converted(const nlohmann::json& value) {
  if (!value.is_number()) return std::nullopt;
  return numberToInt(value);
}

template <>
std::optional<double> converted(const nlohmann::json& value) {
  if (!value.is_number()) return std::nullopt;
  return value.get<double>();
}

template <>
std::optional<std::string> converted(const nlohmann::json& value) {
  if (!value.is_string()) return std::nullopt;
  return value.get<std::string>();
}

template <>
std::optional<std::vector<int>> converted(const nlohmann::json& value) {
  if (!value.is_array()) return std::nullopt;
  std::vector<int> numbers;
  numbers.reserve(value.size());
  // Other elements go to the library: it takes booleans and rejects the rest
  // with its type error 302.
  for (const auto& element : value) numbers.push_back(element.is_number() ? numberToInt(element) : element.get<int>());
  return numbers;
}

template <>
std::optional<std::vector<double>> converted(const nlohmann::json& value) {
  if (!value.is_array()) return std::nullopt;
  return value.get<std::vector<double>>();
}

template <>
std::optional<std::vector<std::string>> converted(const nlohmann::json& value) {
  if (!value.is_array()) return std::nullopt;
  return value.get<std::vector<std::string>>();
}

}  // namespace dataio
