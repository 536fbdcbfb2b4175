#include "dataio/json/JSONReader.hpp"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "dataio/json/JsonConversion.hpp"
#include "dataio/json/NestingLimitedParse.hpp"
#include "interfaces/EchoedText.hpp"
#include "interfaces/Failure.hpp"
#include "interfaces/InputFile.hpp"

using nlohmann::json;

namespace dataio {

namespace {

// Pieces as successive getline calls with '/' give them: "A//B" holds an empty
// key, a trailing '/' adds none, and "" designates the whole document.
std::vector<std::string> keysOf(const std::string& path) {
  std::vector<std::string> keys;
  std::istringstream stream(path);
  std::string key;
  while (std::getline(stream, key, '/')) keys.push_back(key);
  return keys;
}

bool isEmptyValue(const json& value) {
  return value.is_null() || ((value.is_object() || value.is_array()) && value.empty());
}

const json& nullValue() {
  static const json null;
  return null;
}

// A null value is an empty object; any other non-object lets the library's
// const operator[] raise its type error 305. Looking up never inserts.
const json& memberOf(const json& value, const std::string& key) {
  if (value.is_null()) return nullValue();
  if (!value.is_object()) return value[key];
  const auto member = value.find(key);
  return member == value.end() ? nullValue() : *member;
}

// Inside an item, digits select an element of a list; an element beyond its
// end, or a piece of another kind, finds nothing.
const json* elementOf(const json& list, const std::string& key) {
  if (key.empty() || key.size() > 9 || key.find_first_not_of("0123456789") != std::string::npos) return nullptr;
  const std::size_t position = std::stoul(key);
  return position < list.size() ? &list[position] : nullptr;
}

// An ifstream "opens" a directory on some systems; it is no readable file.
bool isReadableFile(const std::string& path, const std::ifstream& stream) {
  std::error_code error;
  return stream.good() && !std::filesystem::is_directory(path, error);
}

// A source that is no JSON text is taken for a file name, and it may be a
// whole archived text: a report quotes its first characters only and says
// how long it is.
constexpr std::size_t quotedCharacters = 200;

bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u; }

std::size_t characterCount(const std::string& text) {
  std::size_t count = 0;
  for (const char byte : text) count += startsCharacter(byte) ? 1 : 0;
  return count;
}

// Cut by this rule, escaped as every echo is.
text::Shown quotedSource(const std::string& source) {
  if (characterCount(source) <= quotedCharacters) return {text::escaped(source)};
  // end stops where character 201 starts.
  std::size_t end = 0;
  for (std::size_t characters = 0; end < source.size(); ++end)
    if (startsCharacter(source[end]) && characters++ == quotedCharacters) break;
  return {text::escaped(source.substr(0, end)) + "..."};
}

// "" for a source that is quoted whole.
std::string lengthNote(const std::string& source) {
  const std::size_t characters = characterCount(source);
  if (characters <= quotedCharacters) return "";
  return " (a text of " + std::to_string(characters) + " characters, the first " + std::to_string(quotedCharacters) +
         " shown)";
}

void reportMissing(const std::string& description) {
  std::cerr << " -> " << "path <" << description << "> not found." << std::endl;
}

}  // namespace

JSONReader::JSONReader(const std::string& source) {
  try {
    document = parseLimited(source);
    return;
  } catch (const std::exception&) {
    // not JSON text: a file path
  }
  fileName = source;
  if (inputs::isSpecialFile(source))
    failure::fail("input file <", quotedSource(source), "> is not a regular file.", lengthNote(source));
  std::ifstream file(source);
  if (!isReadableFile(source, file))
    failure::fail("input file <", quotedSource(source), "> not found.", lengthNote(source));
  document = parseLimited(file);
}

JSONReader JSONReader::fromText(const std::string& content, const std::string& what) {
  JSONReader reader;
  try {
    reader.document = parseLimited(content);
  } catch (const std::exception&) {
    failure::fail(what, " is not valid JSON: <", content, ">");
  }
  return reader;
}

// Only a value that a key leads to can be absent: the whole document is found.
JSONReader::Resolved JSONReader::resolve(const std::string& path) const {
  Resolved resolved{&document, true};
  for (const auto& key : keysOf(path)) {
    if (!resolved.found) break;
    resolved.value = &memberOf(*resolved.value, key);
    resolved.found = !isEmptyValue(*resolved.value);
  }
  return resolved;
}

const json* JSONReader::itemMember(const std::string& path, int index, const std::string& key) const {
  const Resolved array = resolve(path);
  if (!array.found || !array.value->is_array()) return nullptr;
  if (index < 0 || static_cast<std::size_t>(index) >= array.value->size()) return nullptr;
  const json* value = &(*array.value)[static_cast<std::size_t>(index)];
  for (const auto& name : keysOf(key)) {
    if (value->is_array()) {
      value = elementOf(*value, name);
      if (value == nullptr) return nullptr;
      continue;
    }
    if (!value->is_object()) return nullptr;
    const auto member = value->find(name);
    if (member == value->end()) return nullptr;
    value = &*member;
  }
  return value;
}

JSONReader::Resolved JSONReader::resolveItem(const std::string& path, int index, const std::string& key) const {
  const Resolved array = resolve(path);
  const Resolved notFound{&nullValue(), false};
  if (!array.found || !array.value->is_array()) return notFound;
  if (index < 0 || static_cast<std::size_t>(index) >= array.value->size()) return notFound;
  const json& element = (*array.value)[static_cast<std::size_t>(index)];
  if (isEmptyValue(element)) return notFound;
  const json* value = &element;
  for (const auto& name : keysOf(key)) {
    const json* listed = value->is_array() ? elementOf(*value, name) : nullptr;
    value = value->is_array() ? (listed ? listed : &nullValue()) : &memberOf(*value, name);
    if (isEmptyValue(*value)) return notFound;
  }
  return {value, true};
}

template <typename T>
T JSONReader::reported(const Resolved& resolved, bool& found, const std::string& description) const {
  found = resolved.found;
  if (!found) {
    reportMissing(description);
    return absentValue<T>();
  }
  return converted<T>(*resolved.value).value_or(absentValue<T>());
}

template <typename T>
T JSONReader::defaulted(const Resolved& resolved, const T& defaultValue) const {
  if (!resolved.found) return defaultValue;
  return converted<T>(*resolved.value).value_or(defaultValue);
}

std::string JSONReader::getFileName() const { return fileName; }

// Parsed text is valid UTF-8; replacing instead of throwing only matters for
// documents built otherwise.
std::string JSONReader::dump() const { return document.dump(-1, ' ', false, json::error_handler_t::replace); }

bool JSONReader::exists(const std::vector<std::string>& paths) const {
  if (paths.empty()) return false;
  for (const auto& path : paths)
    if (!resolve(path).found) return false;
  return true;
}

std::string JSONReader::itemPath(const std::string& path, const int& index, const std::string& key) const {
  return path + "[" + std::to_string(index) + "]" + "/" + key;
}

std::vector<std::string> JSONReader::getBlockNames(const std::string& path) const {
  const Resolved resolved = resolve(path);
  if (!resolved.found || *resolved.value == 0) return {};
  std::vector<std::string> names;
  // A scalar iterates over itself and is skipped; in an array the first object
  // makes key() raise the library's invalid-iterator error 207.
  for (auto member = resolved.value->begin(); member != resolved.value->end(); ++member)
    if (member->is_object()) names.push_back(member.key());
  return names;
}

bool JSONReader::getBool(const std::string& path, bool& found) const {
  return reported<bool>(resolve(path), found, path);
}
bool JSONReader::getBool(const std::string& path, const bool& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}
int JSONReader::getInt(const std::string& path, bool& found) const { return reported<int>(resolve(path), found, path); }
int JSONReader::getInt(const std::string& path, const int& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}
std::vector<int> JSONReader::getIntVector(const std::string& path, bool& found) const {
  return reported<std::vector<int>>(resolve(path), found, path);
}
std::vector<int> JSONReader::getIntVector(const std::string& path, const std::vector<int>& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}
double JSONReader::getDouble(const std::string& path, bool& found) const {
  return reported<double>(resolve(path), found, path);
}
double JSONReader::getDouble(const std::string& path, const double& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}
std::vector<double> JSONReader::getDoubleVector(const std::string& path, bool& found) const {
  return reported<std::vector<double>>(resolve(path), found, path);
}
std::vector<double> JSONReader::getDoubleVector(const std::string& path,
                                                const std::vector<double>& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}
std::string JSONReader::getString(const std::string& path, bool& found) const {
  return reported<std::string>(resolve(path), found, path);
}
std::string JSONReader::getString(const std::string& path, const std::string& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}
std::vector<std::string> JSONReader::getStringVector(const std::string& path, bool& found) const {
  return reported<std::vector<std::string>>(resolve(path), found, path);
}
std::vector<std::string> JSONReader::getStringVector(const std::string& path,
                                                     const std::vector<std::string>& defaultValue) const {
  return defaulted(resolve(path), defaultValue);
}

int JSONReader::getSize(const std::string& path, bool& found) const {
  const Resolved resolved = resolve(path);
  found = resolved.found;
  if (!found) reportMissing(path);
  return found && resolved.value->is_array() ? static_cast<int>(resolved.value->size()) : 0;
}

int JSONReader::getSize(const std::string& path) const {
  const Resolved resolved = resolve(path);
  return resolved.found && resolved.value->is_array() ? static_cast<int>(resolved.value->size()) : 0;
}

int JSONReader::getItemInt(const std::string& path, const int& index, const std::string& key, bool& found) const {
  return reported<int>(resolveItem(path, index, key), found, itemPath(path, index, key));
}
int JSONReader::getItemInt(const std::string& path, const int& index, const std::string& key,
                           const int& defaultValue) const {
  return defaulted(resolveItem(path, index, key), defaultValue);
}
double JSONReader::getItemDouble(const std::string& path, const int& index, const std::string& key,
                                 bool& found) const {
  return reported<double>(resolveItem(path, index, key), found, itemPath(path, index, key));
}
double JSONReader::getItemDouble(const std::string& path, const int& index, const std::string& key,
                                 const double& defaultValue) const {
  return defaulted(resolveItem(path, index, key), defaultValue);
}
std::string JSONReader::getItemString(const std::string& path, const int& index, const std::string& key,
                                      bool& found) const {
  return reported<std::string>(resolveItem(path, index, key), found, itemPath(path, index, key));
}
std::string JSONReader::getItemString(const std::string& path, const int& index, const std::string& key,
                                      const std::string& defaultValue) const {
  return defaulted(resolveItem(path, index, key), defaultValue);
}
std::vector<double> JSONReader::getItemDoubleVector(const std::string& path, const int& index,
                                                    const std::string& key, bool& found) const {
  return reported<std::vector<double>>(resolveItem(path, index, key), found, itemPath(path, index, key));
}
std::vector<double> JSONReader::getItemDoubleVector(const std::string& path, const int& index,
                                                    const std::string& key,
                                                    const std::vector<double>& defaultValue) const {
  return defaulted(resolveItem(path, index, key), defaultValue);
}

bool JSONReader::hasItem(const std::string& path, const int& index, const std::string& key) const {
  return itemMember(path, index, key) != nullptr;
}
int JSONReader::getItemSize(const std::string& path, const int& index, const std::string& key) const {
  const json* value = itemMember(path, index, key);
  return value != nullptr && value->is_array() ? static_cast<int>(value->size()) : 0;
}
bool JSONReader::getItemBool(const std::string& path, const int& index, const std::string& key,
                             const bool& defaultValue) const {
  return defaulted(resolveItem(path, index, key), defaultValue);
}
std::vector<std::string> JSONReader::getItemStringVector(const std::string& path, const int& index,
                                                         const std::string& key,
                                                         const std::vector<std::string>& defaultValue) const {
  return defaulted(resolveItem(path, index, key), defaultValue);
}

}  // namespace dataio

api::ICommandFileReader* createCommandFileReader(const std::string& source) {
  return new dataio::JSONReader(source);
}

api::ICommandFileReader* createCommandTextReader(const std::string& content, const std::string& what) {
  return new dataio::JSONReader(dataio::JSONReader::fromText(content, what));
}
