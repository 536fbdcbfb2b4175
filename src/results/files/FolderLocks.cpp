#include "results/files/FolderLocks.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iostream>

#include "interfaces/EchoedText.hpp"

namespace fs = std::filesystem;

namespace results {
namespace {

std::string folderKey(const std::string& file) {
  std::error_code error;
  const fs::path folder = fs::absolute(file, error).parent_path();
  const fs::path real = fs::weakly_canonical(folder, error);
  return (error ? folder : real).lexically_normal().string();
}

int lockInterrupted(int descriptor, int operation) {
  int result = 0;
  do result = ::flock(descriptor, operation);
  while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

FolderLocks::FolderLocks(const std::vector<std::string>& files) {
  std::vector<std::string> folders;
  for (const std::string& file : files) folders.push_back(folderKey(file));
  std::sort(folders.begin(), folders.end());
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  for (const std::string& folder : folders) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) continue;
    held.push_back(descriptor);
    if (lockInterrupted(descriptor, LOCK_EX | LOCK_NB) == 0) continue;
    std::cout << " -> waiting for another run that writes into <" << text::echoed(folder) << ">" << std::endl;
    lockInterrupted(descriptor, LOCK_EX);
  }
}

// Closing the folders releases their locks.
FolderLocks::~FolderLocks() {
  for (const int descriptor : held) ::close(descriptor);
}

}  // namespace results
