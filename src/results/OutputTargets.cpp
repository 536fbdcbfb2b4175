#include "OutputTargets.hpp"

#include <filesystem>

#include "Failure.hpp"
#include "FileReferences.hpp"

namespace fs = std::filesystem;

namespace results {

std::string resolvedLocation(const std::string& fileName) {
  std::error_code error;
  const fs::path absolute = fs::absolute(fileName, error);
  if (error) return fileName;
  const fs::path resolved = fs::weakly_canonical(absolute, error);
  return error ? absolute.lexically_normal().string() : resolved.string();
}

OutputTargets::OutputTargets(const std::string& resultsFile_, const std::string& configurationFile_)
    : resultsFile(resultsFile_), configurationFile(configurationFile_) {}

// The results file is the one input that cannot be made again; the
// configuration is the user's own work.
void OutputTargets::refuseInput(const std::string& target) const {
  if (sameExistingFile(target, resultsFile))
    failure::fail("refusing to overwrite the results file <", resultsFile, "> with <", target, ">");
  if (sameExistingFile(target, configurationFile))
    failure::fail("refusing to overwrite the configuration file <", configurationFile, "> with <", target, ">");
}

void OutputTargets::claim(const ExportSelection& selection) {
  claimFile(selection.document(), true, selection);
  claimFile(selection.auxiliaryFile(), false, selection);
}

// Exports of the same content may share their files: they write the same bytes.
void OutputTargets::claimFile(const std::string& name, bool document, const ExportSelection& selection) {
  refuseInput(name);
  const std::string location = resolvedLocation(name);
  for (const Claim& earlier : claims) {
    if (earlier.location != location) continue;
    if (earlier.document != document || !earlier.selection.sameContent(selection))
      failure::fail("export entries ", earlier.selection.entry, " and ", selection.entry, " would both write <", name,
                    "> with different content");
  }
  claims.push_back({location, name, document, selection});
}

}  // namespace results
