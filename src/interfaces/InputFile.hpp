#pragma once
// Inputs are read from regular files only: opening a FIFO waits for a writer
// that may never come, and a device can be read without end. A folder fails
// at once when it is opened, and keeps the report it always had.

#include <filesystem>
#include <string>

namespace inputs {

// True when path (its links followed) is a FIFO, a device or a socket.
inline bool isSpecialFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

}  // namespace inputs
