#include "ConfigurationSchema.hpp"

const char* const resultsConfigurationSchema = R"schema(
{
  "$schema": "file://TORVANEL_MetaSchema.json",
  "type": "object",
  "required": ["RESULTS"],
  "properties": {
    "RESULTS": {
      "type": "object",
      "required": ["EXPORT"],
      "properties": {
        "EXPORT": {
          "type": "array",
          "items": {
            "type": "object",
            "description": "Parameter required for the output generation.",
            "required": ["format"],
            "properties": {
              "format": {
                "type": "string",
                "description": "Define the output format.",
                "enum": ["xdmf"]
              }
            }
          }
        }
      }
    }
  }
}
)schema";
