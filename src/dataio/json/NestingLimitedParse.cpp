#include "dataio/json/NestingLimitedParse.hpp"

namespace dataio {

namespace {

bool refuseDeepNesting(int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
  const bool opens = event == nlohmann::json::parse_event_t::object_start ||
                     event == nlohmann::json::parse_event_t::array_start;
  if (opens && depth >= maximumJsonNesting) throw JsonNestingException();
  return true;
}

}  // namespace

JsonNestingException::JsonNestingException()
    : std::runtime_error("JSON nesting deeper than " + std::to_string(maximumJsonNesting) + " levels") {}

nlohmann::json parseLimited(const std::string& text) { return nlohmann::json::parse(text, refuseDeepNesting); }

nlohmann::json parseLimited(std::istream& stream) { return nlohmann::json::parse(stream, refuseDeepNesting); }

}  // namespace dataio
