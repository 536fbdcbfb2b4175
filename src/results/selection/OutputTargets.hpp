#pragma once
// The files that the exports of one run write, checked before anything is
// written: no input of the run is ever a target, and no file is the target of
// two exports that would give it different content.

#include <string>
#include <vector>

#include "results/selection/ExportSelection.hpp"

namespace results {

class OutputTargets {
 public:
  OutputTargets(const std::string& resultsFile, const std::string& configurationFile);

  // Fails when target designates the results or the configuration file.
  void refuseInput(const std::string& target) const;
  // Checks the selection's files against the inputs and the earlier claims.
  void claim(const ExportSelection& selection);
  // The mesh files claimed, each once (as its first claim names it).
  std::vector<std::string> meshFiles() const;

 private:
  enum class Kind { document, auxiliary, mesh, envelopes, series, map };
  struct Claim {
    std::string location;  // the file as the system resolves it
    std::string name;      // as the run names it
    Kind kind;
    ExportSelection selection;
  };
  void claimFile(const std::string& name, Kind kind, const ExportSelection& selection);

  std::string resultsFile;
  std::string configurationFile;
  std::vector<Claim> claims;
};

// One spelling per file: absolute, with links and "." and ".." resolved as far
// as the file's folders exist.
std::string resolvedLocation(const std::string& fileName);

}  // namespace results
