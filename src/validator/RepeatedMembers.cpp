#include "validator/RepeatedMembers.hpp"

namespace jsv {

using event_t = nlohmann::json::parse_event_t;

JsonPointer RepeatedMembers::current() const {
  JsonPointer pointer;
  for (const Container& container : open)
    pointer /= container.isObject ? container.key : std::to_string(container.index);
  return pointer;
}

void RepeatedMembers::elementBegins() {
  if (!open.empty() && !open.back().isObject) ++open.back().index;
}

void RepeatedMembers::seen(event_t event, const nlohmann::json& parsed) {
  switch (event) {
    case event_t::object_start:
    case event_t::array_start:
      elementBegins();
      open.push_back(Container{event == event_t::object_start, {}, {}, -1});
      break;
    case event_t::object_end:
    case event_t::array_end:
      if (!open.empty()) open.pop_back();
      break;
    case event_t::key: {
      if (open.empty() || !parsed.is_string()) break;
      Container& object = open.back();
      object.key = parsed.get<std::string>();
      if (object.keys.insert(object.key).second) break;
      const JsonPointer pointer = current();
      if (reported.insert(pointer.to_string()).second) repeated.push_back(pointer);
      break;
    }
    case event_t::value:
      elementBegins();
      break;
  }
}

}  // namespace jsv
