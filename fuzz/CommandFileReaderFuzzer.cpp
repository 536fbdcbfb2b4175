// libFuzzer target: a command-file reader built from the input (as JSON text,
// or through a file when the first byte is 'F'), then every query on the key
// paths that follow the first NUL byte, one per line. The library errors that
// the reader lets out on purpose are expected; anything else is a finding.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dataio/json/JSONReader.hpp"
#include "dataio/json/NestingLimitedParse.hpp"
#include "interfaces/Failure.hpp"

namespace {

void queryEverything(const api::ICommandFileReader& reader, const std::string& path, int index) {
  bool found = false;
  const std::string key = path.substr(path.rfind('/') + 1);
  reader.exists({path, path + "/x"});
  reader.getBlockNames(path);
  reader.getBool(path, found);
  reader.getBool(path, true);
  reader.getInt(path, found);
  reader.getInt(path, 1);
  reader.getIntVector(path, found);
  reader.getIntVector(path, std::vector<int>{});
  reader.getDouble(path, found);
  reader.getDouble(path, 1.0);
  reader.getDoubleVector(path, found);
  reader.getDoubleVector(path, std::vector<double>{});
  reader.getString(path, found);
  reader.getString(path, std::string());
  reader.getStringVector(path, found);
  reader.getStringVector(path, std::vector<std::string>{});
  reader.getSize(path, found);
  reader.getSize(path);
  reader.getItemInt(path, index, key, found);
  reader.getItemInt(path, index, key, 1);
  reader.getItemDouble(path, index, key, found);
  reader.getItemDouble(path, index, key, 1.0);
  reader.getItemString(path, index, key, found);
  reader.getItemString(path, index, key, std::string());
  reader.getItemDoubleVector(path, index, key, found);
  reader.getItemDoubleVector(path, index, key, std::vector<double>{});
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) lines.push_back(line);
  return lines;
}

// Text that is not JSON would be taken for a file name: only files that this
// process writes are read, never a path chosen by the input.
std::string sourceOf(const std::string& document) {
  if (document.empty() || document[0] != 'F') return nlohmann::json::accept(document) ? document : std::string();
  static const std::string path = "/tmp/command-file-fuzz-" + std::to_string(getpid()) + ".json";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << document.substr(1);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::ostringstream silenced;
  std::cerr.rdbuf(silenced.rdbuf());
  silenced.str("");
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto split = bytes.find('\0');
  const std::string document = bytes.substr(0, split);
  const std::string queries = split == std::string::npos ? std::string() : bytes.substr(split + 1);
  const std::string source = sourceOf(document);
  if (source.empty()) return 0;
  std::unique_ptr<api::ICommandFileReader> reader;
  try {
    reader.reset(createCommandFileReader(source));
  } catch (const BaseException&) {
    return 0;
  } catch (const nlohmann::json::exception&) {
    return 0;
  } catch (const dataio::JsonNestingException&) {
    return 0;
  }
  reader->dump();
  int index = 0;
  for (const auto& path : linesOf(queries)) {
    try {
      queryEverything(*reader, path, index - 1);
    } catch (const nlohmann::json::exception&) {
    }
    ++index;
  }
  return 0;
}
