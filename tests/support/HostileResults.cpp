#include "HostileResults.hpp"

#include <fstream>
#include <stdexcept>

#include "BinaryRun.hpp"
#include "ResultsFileMaker.hpp"

namespace testing_support {
namespace {

// A global heap object is an index (2 bytes), a reference count (2), 4
// reserved bytes and its length (8), followed by the data.
constexpr std::size_t heapLengthBeforeData = 8;

void overwriteByte(const std::string& fileName, std::size_t offset, unsigned char value) {
  std::fstream file(fileName, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(offset));
  file.put(static_cast<char>(value));
  if (!file) throw std::runtime_error("cannot change byte " + std::to_string(offset) + " of " + fileName);
}

}  // namespace

void corruptArchivedModelText(const std::string& fileName) {
  const std::string bytes = readFile(fileName);
  const std::size_t text = bytes.find(hydraulicsModelText());
  if (text == std::string::npos || text < heapLengthBeforeData)
    throw std::runtime_error("no archived hydraulics text in " + fileName);
  // The third byte of the length: some 16 MB instead of some 80 bytes.
  overwriteByte(fileName, text - heapLengthBeforeData + 2, 0xff);
}

}  // namespace testing_support
