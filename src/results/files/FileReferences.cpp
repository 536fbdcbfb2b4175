#include "results/files/FileReferences.hpp"

#include <filesystem>

namespace fs = std::filesystem;

namespace results {

std::string folderOf(const std::string& fileName) {
  const auto slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : fileName.substr(0, slash);
}

std::string referenceFrom(const std::string& documentFolder, const std::string& fileName) {
  if (documentFolder.empty() || fs::path(fileName).is_absolute()) return fileName;
  const fs::path file = fs::absolute(fileName).lexically_normal();
  const fs::path folder = fs::absolute(documentFolder).lexically_normal();
  const fs::path relative = file.lexically_relative(folder);
  return relative.empty() ? file.string() : relative.string();
}

std::string outputStem(const std::string& outputFile) {
  const auto slash = outputFile.find_last_of('/');
  const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
  const auto dot = outputFile.find('.', nameStart);
  return dot == std::string::npos ? outputFile : outputFile.substr(0, dot);
}

bool sameExistingFile(const std::string& first, const std::string& second) {
  std::error_code error;
  if (!fs::exists(first, error) || !fs::exists(second, error)) return false;
  return fs::equivalent(first, second, error) && !error;
}

}  // namespace results
