#pragma once
// Writes small results files for tests in the layout a simulation run leaves:
// archive texts, mesh, parameters, steps.

#include <string>
#include <vector>

#include "support/H5TestFile.hpp"

namespace testing_support {

class ResultsFileMaker : public H5TestFile {
 public:
  using H5TestFile::H5TestFile;
  using H5TestFile::doubles;
  using H5TestFile::ints;

  // Two-dimensional datasets with the integer attribute "size", as the run writes them.
  void ints(const std::string& path, int rows, int columns, const std::vector<int>& values);
  void doubles(const std::string& path, int rows, int columns, const std::vector<double>& values);
  // A time step: doubles plus the double attribute "t".
  void step(const std::string& path, double time, int rows, int columns, const std::vector<double>& values);
  // A one-value dataset.
  void scalar(const std::string& path, double value);

  // The two-triangle unit square: CellsAll/Topology and NodesAll/Coordnts.
  void unitSquareMesh();
  // Archive texts: the model input and the simulation's output list.
  void archive(const std::string& modelText, const std::vector<std::string>& outputs);
};

// Model input texts that select the hydraulics or the morphology setup.
std::string hydraulicsModelText();
std::string morphologyModelText();

// {"RESULTS": {"EXPORT": [{"format": "xdmf"}, ...]}} with the given formats.
std::string configurationText(const std::vector<std::string>& formats);
// One "xdmf" entry per member list, e.g. R"("envelopes": {})" or "" for none.
std::string xdmfEntriesText(const std::vector<std::string>& entries);

}  // namespace testing_support
