#pragma once
// Writes small HDF5 results files for tests, with the HDF5 C API, in the
// layout a simulation run leaves: archive texts, mesh, parameters, steps.

#include <string>
#include <vector>

namespace testing_support {

class ResultsFileMaker {
 public:
  // Create makes a new file (an existing one is emptied); Edit opens one to change.
  enum class Opening { Create, Edit };
  explicit ResultsFileMaker(const std::string& fileName, Opening opening = Opening::Create);
  ~ResultsFileMaker();
  ResultsFileMaker(const ResultsFileMaker&) = delete;
  ResultsFileMaker& operator=(const ResultsFileMaker&) = delete;

  // A one-element variable-length UTF-8 string dataset.
  void text(const std::string& path, const std::string& value);
  // Two-dimensional datasets with the integer attribute "size".
  void ints(const std::string& path, int rows, int columns, const std::vector<int>& values);
  void doubles(const std::string& path, int rows, int columns, const std::vector<double>& values);
  // A time step: doubles plus the double attribute "t".
  void step(const std::string& path, double time, int rows, int columns, const std::vector<double>& values);
  // A one-value dataset.
  void scalar(const std::string& path, double value);
  // An empty group (with its parents).
  void group(const std::string& path);
  // Unlinks a dataset or a group, so that its path can be written anew.
  void remove(const std::string& path);

  // One-value attributes of an object, replacing one of the same name.
  void intAttribute(const std::string& path, const std::string& name, int value);
  void doubleAttribute(const std::string& path, const std::string& name, double value);
  void stringAttribute(const std::string& path, const std::string& name, const std::string& value);
  void removeAttribute(const std::string& path, const std::string& name);

  // The two-triangle unit square: CellsAll/Topology and NodesAll/Coordnts.
  void unitSquareMesh();
  // Archive texts: the model input and the simulation's output list.
  void archive(const std::string& modelText, const std::vector<std::string>& outputs);

 private:
  long long file;
};

// Model input texts that select the hydraulics, morphology or flood setup.
std::string hydraulicsModelText();
std::string morphologyModelText();
std::string floodModelText();

// {"RESULTS": {"EXPORT": [{"format": "xdmf"}, ...]}} with the given formats.
std::string configurationText(const std::vector<std::string>& formats);
// One "xdmf" entry per member list, e.g. R"("envelopes": {})" or "" for none.
std::string xdmfEntriesText(const std::vector<std::string>& entries);

}  // namespace testing_support
