#pragma once
// Parsing of command files with a bound on nesting, so that a hostile file
// cannot exhaust the stack of the recursive operations on the document
// (serialisation, copies, comparisons).

#include <istream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace dataio {

constexpr int maximumJsonNesting = 512;

struct JsonNestingException : std::runtime_error {
  JsonNestingException();
};

// The library's parser; throws its exceptions, and JsonNestingException for
// objects or arrays nested deeper than maximumJsonNesting.
nlohmann::json parseLimited(const std::string& text);
nlohmann::json parseLimited(std::istream& stream);

}  // namespace dataio
