#include "results/files/DocumentName.hpp"

#include <filesystem>

#include "interfaces/Failure.hpp"
#include "results/files/FileReferences.hpp"
#include "results/files/OutputNames.hpp"

namespace fs = std::filesystem;

namespace results {
namespace {

constexpr const char* systemFolders[] = {"/dev", "/proc", "/sys"};

// The system folder the name lies under, as written or through links, or "".
std::string systemFolderOf(const std::string& name) {
  std::error_code error;
  const fs::path written = fs::absolute(name, error).lexically_normal();
  const fs::path reached = fs::weakly_canonical(written, error);
  for (const fs::path& place : {written, error ? written : reached})
    for (const char* folder : systemFolders) {
      const fs::path relative = place.lexically_relative(folder);
      if (!relative.empty() && *relative.begin() != "..") return folder;
    }
  return std::string();
}

}  // namespace

void requireDocumentName(const std::string& documentName) {
  const std::string stem = outputStem(documentName);
  if (stem.empty() || stem.back() == '/')
    failure::fail("the document name <", documentName,
                  "> has no stem (the name up to its first '.'): its files would be hidden files named <",
                  documentOf(stem), "> and <", auxiliaryFileOf(stem), ">");
  const std::string folder = systemFolderOf(documentName);
  if (!folder.empty())
    failure::fail("the document name <", documentName, "> lies under <", folder,
                  ">, where the export writes no files");
}

}  // namespace results
