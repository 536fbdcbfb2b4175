#pragma once
// Members that a document gives more than once ("document" twice in one
// entry). The parsed value keeps only the last of them, so the walk never
// sees the others: they are found while the text is parsed.

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "validator/PointerText.hpp"

namespace jsv {

class RepeatedMembers {
 public:
  // The parser's callback for every event; keeps every value.
  void seen(nlohmann::json::parse_event_t event, const nlohmann::json& parsed);

  // The pointers of the repeated members, each once, in the order found.
  const std::vector<JsonPointer>& pointers() const { return repeated; }

 private:
  struct Container {
    bool isObject = false;
    std::set<std::string> keys;
    std::string key;         // the member being parsed
    long long index = -1;    // the element being parsed
  };
  JsonPointer current() const;
  void elementBegins();

  std::vector<Container> open;
  std::vector<JsonPointer> repeated;
  std::set<std::string> reported;
};

}  // namespace jsv
