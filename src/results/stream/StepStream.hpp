#pragma once
// The computed outputs of one stored time, and the hydraulic state that
// consumers follow, streamed through the step's datasets: each input dataset
// is read once, in slices of rows; each slice is computed in blocks small
// enough that the columns of a block stay in cache from one column loop to
// the next, every computed column of a block once for all outputs and
// consumers; and each output's slice is written to its place in its
// auxiliary dataset, which is created at its full size. Memory stays at a
// slice of every dataset and output, however many cells the mesh has.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "interfaces/IEntities.hpp"
#include "interfaces/IH5Reader.hpp"
#include "interfaces/IH5Writer.hpp"
#include "model/outputs/ColumnEvaluator.hpp"
#include "results/stream/HydraulicConsumer.hpp"

namespace results {

// One input column of a step: the dataset and the column in it.
struct StepInput {
  std::string path;
  int column = 0;
};

class StepStream {
 public:
  // Rows per read and write: a few calls per dataset and step, as the
  // library's cost per call would otherwise show.
  static constexpr int defaultSliceRows = 65536;
  // Rows per block: the columns of a block of a typical export (the hydraulic
  // state, the bed, the depth, the dry cells, the velocities and the speed)
  // take about 200 KB.
  static constexpr int defaultBlockRows = 2048;

  explicit StepStream(api::IH5Reader& file, int sliceRows = defaultSliceRows, int blockRows = defaultBlockRows);

  // The dataset at path, opened at its first use in a step and held until
  // the step is written.
  const api::IRowReader& input(const std::string& path);
  // The dataset at path is read from table for the rest of the step, not
  // from the file; before its first use in the step.
  void hold(const std::string& path, const api::DoubleTable& table);

  // An output of the step: its inputs in the order of its column list, all of
  // the same length; one column form per component, or else one
  // transformation per component, evaluated cell by cell.
  void addOutput(const std::string& auxiliaryPath, const std::vector<StepInput>& inputs,
                 std::vector<model::ColumnForm> forms, std::vector<model::TransformFunction> functions);
  // The hydraulic state at this time for the consumers, from the inputs qx,
  // qy, H and zb (flow_velocity's column list).
  void addHydraulics(double time, const std::vector<StepInput>& inputs, std::vector<HydraulicConsumer*> consumers);

  bool empty() const { return outputs.empty() && consumers.empty(); }
  // Streams everything added since the last write into the auxiliary file,
  // in the order the outputs were added, and feeds the consumers; then
  // closes the step's datasets.
  void write(double dryDepth, api::IH5Writer& auxiliaryFile);

 private:
  struct Dataset {
    std::unique_ptr<api::IRowReader> reader;
    std::vector<double> slice;  // the slice's rows, in row order
    int count = 0;             // rows in the slice
    const double* block = nullptr;
    std::size_t blockCells = 0;
    std::vector<int> taken;  // the columns copied out of a block, and where to
    std::vector<double*> targets;
  };
  struct Source {
    std::size_t dataset = 0;
    int column = 0;
    std::vector<double> values;  // the column's block, unless the dataset has one column
    const double* block = nullptr;
  };
  struct Output {
    std::string path;
    std::vector<int> sourceOf;
    int cells = 0;  // of the output's dataset
    int components = 0;
    std::vector<model::ColumnForm> forms;
    std::vector<model::TransformFunction> functions;
    std::vector<double> values;  // the slice, row order
    std::unique_ptr<api::IRowWriter> writer;
  };

  std::vector<int> sourcesOf(const std::vector<StepInput>& inputs);
  int longestInput() const;
  void readSlice(int first);
  void prepareBlocks();
  void computeBlock(int first, int offset, double dryDepth);
  void takeColumns(int offset);
  void computeOutput(Output& output, int offset, double dryDepth);
  void computeCells(Output& output, std::size_t cells, double* rows, double dryDepth);
  void writeSlice(Output& output, int first, api::IH5Writer& auxiliaryFile);
  void feedConsumers(int firstCell);
  void forgetStep();
  template <typename Item>
  static void keep(std::vector<std::vector<double>>& buffers, std::vector<Item>& items,
                   std::vector<double> Item::*buffer);
  static std::vector<double> kept(std::vector<std::vector<double>>& buffers, std::size_t position);

  api::IH5Reader& file;
  int sliceRows;
  int blockRows;
  std::vector<Dataset> datasets;
  std::map<std::string, std::size_t> datasetIndex;
  std::vector<Source> sources;
  std::map<std::pair<std::size_t, int>, int> sourceIndex;
  std::vector<Output> outputs;
  double time = 0.0;
  std::vector<int> hydraulicSources;
  std::vector<HydraulicConsumer*> consumers;
  model::ColumnEvaluator evaluator;
  std::vector<model::ColumnEvaluator::Source> blockSources;
  std::vector<const double*> blockColumns;
  // The buffers of the previous step's datasets, columns and outputs.
  std::vector<std::vector<double>> keptSlices, keptColumns, keptValues;
};

}  // namespace results
