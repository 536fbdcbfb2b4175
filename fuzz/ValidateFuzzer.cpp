// libFuzzer target: the validator on a document and a schema taken from the
// input, split at its first NUL byte; without one, the document is checked
// against the configuration schema. Any exception leaving validate is a finding.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/ConfigurationSchema.hpp"
#include "validator/JsonValidator.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto split = bytes.find('\0');
  const bool withSchema = split != std::string::npos;
  std::istringstream document(bytes.substr(0, split));
  std::istringstream schema(withSchema ? bytes.substr(split + 1) : std::string(resultsConfigurationSchema));
  std::ostringstream findings;
  jsv::JsonValidator(&findings).validate(document, schema);
  return 0;
}
