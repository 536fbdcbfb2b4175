#include "dataio/hdf5/HdfFileCheck.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "interfaces/Failure.hpp"
#include "interfaces/InputFile.hpp"

namespace fs = std::filesystem;

namespace dataio {
namespace {

constexpr std::array<unsigned char, 8> signature{0x89, 'H', 'D', 'F', '\r', '\n', 0x1a, '\n'};

std::string bytesAt(std::ifstream& file, std::uint64_t offset, std::size_t count) {
  std::string bytes(count, '\0');
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  file.clear();
  return bytes;
}

// The library looks for its signature at 0 and at every power of two from
// 512 on, after a user block.
std::optional<std::uint64_t> signatureOffset(std::ifstream& file, std::uint64_t size) {
  const std::string wanted(signature.begin(), signature.end());
  for (std::uint64_t offset = 0; offset + signature.size() <= size; offset = offset == 0 ? 512 : 2 * offset)
    if (bytesAt(file, offset, signature.size()) == wanted) return offset;
  return std::nullopt;
}

// A little-endian address of `width` bytes; nothing for the undefined address.
std::optional<std::uint64_t> address(const std::string& bytes, std::size_t at, std::size_t width) {
  if (width < 2 || width > 8 || at + width > bytes.size()) return std::nullopt;
  std::uint64_t value = 0;
  bool undefined = true;
  for (std::size_t k = width; k-- > 0;) {
    const auto byte = static_cast<unsigned char>(bytes[at + k]);
    undefined = undefined && byte == 0xff;
    value = (value << 8) | byte;
  }
  if (undefined) return std::nullopt;
  return value;
}

// The size the superblock declares for the file: its base address plus its
// end-of-file address, at their places in superblock versions 0 to 3.
std::optional<std::uint64_t> declaredSize(std::ifstream& file, std::uint64_t at) {
  const std::string head = bytesAt(file, at, 64);
  if (head.size() < 16) return std::nullopt;
  const auto version = static_cast<unsigned char>(head[8]);
  std::size_t width = 0;
  std::size_t base = 0;
  if (version <= 1) {
    width = static_cast<unsigned char>(head[13]);
    base = version == 0 ? 24 : 28;
  } else if (version <= 3) {
    width = static_cast<unsigned char>(head[9]);
    base = 12;
  } else {
    return std::nullopt;
  }
  const std::optional<std::uint64_t> start = address(head, base, width);
  const std::optional<std::uint64_t> end = address(head, base + 2 * width, width);
  if (!start || !end) return std::nullopt;
  return *start + *end;
}

[[noreturn]] void refuse(const std::string& fileName, const std::string& what) {
  failure::fail("HDF5 file <", fileName, "> ", what);
}

}  // namespace

void requireReadableHdfFile(const std::string& fileName) {
  if (fileName.empty()) refuse(fileName, "is no name of a file");
  std::error_code error;
  const fs::file_status status = fs::status(fileName, error);
  if (error && error != std::errc::no_such_file_or_directory) {
    if (error == std::errc::too_many_symbolic_link_levels) refuse(fileName, "is a loop of symbolic links");
    refuse(fileName, "cannot be reached: " + error.message());
  }
  if (!fs::exists(status)) refuse(fileName, "does not exist");
  if (fs::is_directory(status)) refuse(fileName, "is a folder");
  if (inputs::isSpecialFile(fileName)) refuse(fileName, "is not a regular file");
  const std::uint64_t size = fs::file_size(fileName, error);
  std::ifstream file(fileName, std::ios::binary);
  if (error || !file) refuse(fileName, "cannot be read");
  if (size == 0) refuse(fileName, "is not an HDF5 file: it is empty");
  const std::optional<std::uint64_t> start = signatureOffset(file, size);
  if (!start) refuse(fileName, "is not an HDF5 file: it holds no HDF5 signature");
  const std::optional<std::uint64_t> declared = declaredSize(file, *start);
  if (declared && size < *declared)
    refuse(fileName, "is cut short: it holds " + std::to_string(size) + " bytes of the " + std::to_string(*declared) +
                         " its HDF5 superblock declares");
}

}  // namespace dataio
