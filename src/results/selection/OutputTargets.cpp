#include "results/selection/OutputTargets.hpp"

#include <algorithm>
#include <filesystem>

#include "interfaces/Failure.hpp"
#include "results/files/FileReferences.hpp"

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
  claimFile(selection.document(), Kind::document, selection);
  claimFile(selection.auxiliaryFile(), Kind::auxiliary, selection);
  if (selection.mesh2dm) claimFile(selection.meshFile(), Kind::mesh, selection);
  if (selection.envelopes) claimFile(selection.envelopeDocument(), Kind::envelopes, selection);
  for (const std::string& series : selection.seriesFiles()) claimFile(series, Kind::series, selection);
  for (const std::string& map : selection.mapFiles()) claimFile(map, Kind::map, selection);
}

std::vector<std::string> OutputTargets::meshFiles() const {
  std::vector<std::string> names;
  std::vector<std::string> locations;
  for (const Claim& claim : claims) {
    if (claim.kind != Kind::mesh) continue;
    if (std::find(locations.begin(), locations.end(), claim.location) != locations.end()) continue;
    locations.push_back(claim.location);
    names.push_back(claim.name);
  }
  return names;
}

// Exports of the same content may share their files: they write the same
// bytes. Every mesh file holds the one mesh of the results file.
void OutputTargets::claimFile(const std::string& name, Kind kind, const ExportSelection& selection) {
  refuseInput(name);
  const std::string location = resolvedLocation(name);
  for (const Claim& earlier : claims) {
    if (earlier.location != location) continue;
    const bool sameSeries = kind != Kind::series || earlier.selection.hydrographs == selection.hydrographs;
    const bool same =
        earlier.kind == kind && (kind == Kind::mesh || (earlier.selection.sameContent(selection) && sameSeries));
    if (!same)
      failure::fail("export entries ", earlier.selection.entry, " and ", selection.entry, " would both write <", name,
                    "> with different content");
  }
  claims.push_back({location, name, kind, selection});
}

}  // namespace results
