#include "results/stream/StepStream.hpp"

#include <algorithm>

#include "model/outputs/ColumnForms.hpp"
#include "results/stream/TableRows.hpp"

namespace results {

StepStream::StepStream(api::IH5Reader& file_, int sliceRows_, int blockRows_)
    : file(file_), sliceRows(sliceRows_), blockRows(blockRows_) {}

void StepStream::hold(const std::string& path, const api::DoubleTable& table) {
  if (datasetIndex.count(path) > 0) return;
  Dataset dataset;
  dataset.reader = std::make_unique<TableRows>(table);
  dataset.slice = kept(keptSlices, datasets.size());
  datasets.push_back(std::move(dataset));
  datasetIndex.emplace(path, datasets.size() - 1);
}

const api::IRowReader& StepStream::input(const std::string& path) {
  const auto found = datasetIndex.find(path);
  if (found != datasetIndex.end()) return *datasets[found->second].reader;
  Dataset dataset;
  dataset.reader = file.openRows(path);
  dataset.slice = kept(keptSlices, datasets.size());
  datasets.push_back(std::move(dataset));
  datasetIndex.emplace(path, datasets.size() - 1);
  return *datasets.back().reader;
}

std::vector<int> StepStream::sourcesOf(const std::vector<StepInput>& inputs) {
  std::vector<int> ids;
  for (const StepInput& entry : inputs) {
    input(entry.path);
    const std::pair<std::size_t, int> key(datasetIndex.at(entry.path), entry.column);
    auto found = sourceIndex.find(key);
    if (found == sourceIndex.end()) {
      Source source;
      source.values = kept(keptColumns, sources.size());
      source.dataset = key.first;
      source.column = key.second;
      sources.push_back(std::move(source));
      found = sourceIndex.emplace(key, static_cast<int>(sources.size() - 1)).first;
    }
    ids.push_back(found->second);
  }
  return ids;
}

void StepStream::addOutput(const std::string& auxiliaryPath, const std::vector<StepInput>& inputs,
                           std::vector<model::ColumnForm> forms, std::vector<model::TransformFunction> functions) {
  Output output;
  output.values = kept(keptValues, outputs.size());
  output.path = auxiliaryPath;
  output.sourceOf = sourcesOf(inputs);
  output.cells = input(inputs.at(0).path).rows();
  output.components = static_cast<int>(forms.empty() ? functions.size() : forms.size());
  output.forms = std::move(forms);
  output.functions = std::move(functions);
  outputs.push_back(std::move(output));
}

void StepStream::addHydraulics(double time_, const std::vector<StepInput>& inputs,
                               std::vector<HydraulicConsumer*> consumers_) {
  time = time_;
  hydraulicSources = sourcesOf(inputs);
  consumers = std::move(consumers_);
}

// Each output's dataset is created, and its first rows written, in the order
// the outputs were added and before any later slice: the auxiliary file then
// takes the layout that writing each output whole, one after the other, gives.
void StepStream::write(double dryDepth, api::IH5Writer& auxiliaryFile) {
  const int cells = longestInput();
  prepareBlocks();
  for (int first = 0; first < cells; first += sliceRows) {
    readSlice(first);
    for (int offset = 0; offset < std::min(sliceRows, cells - first); offset += blockRows)
      computeBlock(first, offset, dryDepth);
    for (Output& output : outputs) writeSlice(output, first, auxiliaryFile);
  }
  forgetStep();
}

int StepStream::longestInput() const {
  int rows = 0;
  for (const Source& source : sources) rows = std::max(rows, datasets[source.dataset].reader->rows());
  return rows;
}

void StepStream::readSlice(int first) {
  for (Dataset& dataset : datasets) {
    dataset.count = std::clamp(dataset.reader->rows() - first, 0, sliceRows);
    dataset.slice.resize(static_cast<std::size_t>(dataset.count) * static_cast<std::size_t>(dataset.reader->columns()));
    if (dataset.count > 0) dataset.reader->read(first, dataset.count, dataset.slice.data());
  }
}

void StepStream::computeBlock(int first, int offset, double dryDepth) {
  takeColumns(offset);
  evaluator.beginRun(dryDepth, blockSources);
  for (Output& output : outputs) computeOutput(output, offset, dryDepth);
  feedConsumers(first + offset);
}

namespace {

// Up to three columns out of a block's rows in one pass over them: one pass
// per column would run over the rows as many times.
template <std::size_t Taken>
void copyColumns(const double* rows, std::size_t count, std::size_t width, const int* columns,
                 double* const* values) {
  for (std::size_t i = 0; i < count; ++i) {
    const double* row = rows + i * width;
    for (std::size_t k = 0; k < Taken; ++k) values[k][i] = row[columns[k]];
  }
}

// The rows of a vector output: its two components side by side.
void interleave(std::size_t cells, const double* x, const double* y, double* rows) {
  for (std::size_t i = 0; i < cells; ++i) {
    rows[2 * i] = x[i];
    rows[2 * i + 1] = y[i];
  }
}

}  // namespace

// Only the columns that some output or consumer reads are taken out of the
// rows, into buffers of a block; a dataset of one column is its own column.
void StepStream::prepareBlocks() {
  for (Source& source : sources) {
    Dataset& dataset = datasets[source.dataset];
    if (dataset.reader->columns() == 1) continue;
    source.values.resize(static_cast<std::size_t>(blockRows));
    dataset.taken.push_back(source.column);
    dataset.targets.push_back(source.values.data());
  }
}

void StepStream::takeColumns(int offset) {
  for (Dataset& dataset : datasets) {
    const std::size_t width = static_cast<std::size_t>(dataset.reader->columns());
    dataset.block = dataset.slice.data() + static_cast<std::size_t>(offset) * width;
    dataset.blockCells = static_cast<std::size_t>(std::clamp(dataset.count - offset, 0, blockRows));
    for (std::size_t k = 0; k < dataset.taken.size(); k += 3) {
      const std::size_t taken = std::min<std::size_t>(3, dataset.taken.size() - k);
      const int* columns = &dataset.taken[k];
      double* const* values = &dataset.targets[k];
      if (taken == 3)
        copyColumns<3>(dataset.block, dataset.blockCells, width, columns, values);
      else if (taken == 2)
        copyColumns<2>(dataset.block, dataset.blockCells, width, columns, values);
      else
        copyColumns<1>(dataset.block, dataset.blockCells, width, columns, values);
    }
  }
  blockSources.clear();
  for (Source& source : sources) {
    const Dataset& dataset = datasets[source.dataset];
    source.block = dataset.reader->columns() == 1 ? dataset.block : source.values.data();
    blockSources.push_back({source.block, dataset.blockCells});
  }
}

// The block's values go to their rows of the output's slice.
void StepStream::computeOutput(Output& output, int offset, double dryDepth) {
  const std::size_t cells = evaluator.cellsOf(output.sourceOf.front());
  if (cells == 0) return;
  const std::size_t width = static_cast<std::size_t>(output.components);
  output.values.resize(static_cast<std::size_t>(sliceRows) * width);
  double* rows = output.values.data() + static_cast<std::size_t>(offset) * width;
  if (output.forms.empty()) {
    computeCells(output, cells, rows, dryDepth);
    return;
  }
  std::vector<const double*>& columns = blockColumns;
  columns.clear();
  for (const model::ColumnForm& form : output.forms) columns.push_back(evaluator.evaluate(form, output.sourceOf));
  if (width == 1) {
    std::copy(columns[0], columns[0] + cells, rows);
  } else if (width == 2) {
    interleave(cells, columns[0], columns[1], rows);
  } else {
    for (std::size_t c = 0; c < width; ++c)
      for (std::size_t i = 0; i < cells; ++i) rows[i * width + c] = columns[c][i];
  }
}

// An output without column forms, one cell at a time through its
// transformations.
void StepStream::computeCells(Output& output, std::size_t cells, double* rows, double dryDepth) {
  const std::size_t width = static_cast<std::size_t>(output.components);
  std::vector<double> cell(output.sourceOf.size());
  for (std::size_t i = 0; i < cells; ++i) {
    for (std::size_t p = 0; p < cell.size(); ++p)
      cell[p] = sources[static_cast<std::size_t>(output.sourceOf[p])].block[i];
    for (std::size_t c = 0; c < width; ++c) rows[i * width + c] = output.functions[c](dryDepth, cell);
  }
}

void StepStream::writeSlice(Output& output, int first, api::IH5Writer& auxiliaryFile) {
  const int count = std::min(sliceRows, output.cells - first);
  if (count <= 0) return;
  if (!output.writer) output.writer = auxiliaryFile.createRows(output.path, output.cells, output.components);
  output.writer->write(first, count, output.values.data());
}

// The depth, velocities and speed are the very columns that water_depth,
// flow_velocity and flow_velocity_abs would be given from the same inputs.
void StepStream::feedConsumers(int firstCell) {
  if (consumers.empty()) return;
  const int surface = hydraulicSources.at(2);
  const int bottom = hydraulicSources.at(3);
  HydraulicSlice slice;
  slice.firstCell = static_cast<std::size_t>(firstCell);
  slice.cells = evaluator.cellsOf(surface);
  if (slice.cells == 0) return;
  const std::vector<model::ColumnForm>& velocity = model::OutputColumnForms.at(model::flow_velocity);
  slice.surface = sources[static_cast<std::size_t>(surface)].block;
  slice.depth = evaluator.evaluate(model::OutputColumnForms.at(model::water_depth).at(0), {surface, bottom});
  slice.velocityX = evaluator.evaluate(velocity.at(0), hydraulicSources);
  slice.velocityY = evaluator.evaluate(velocity.at(1), hydraulicSources);
  slice.speed = evaluator.evaluate(model::OutputColumnForms.at(model::flow_velocity_abs).at(0), hydraulicSources);
  slice.dischargeX = sources[static_cast<std::size_t>(hydraulicSources.at(0))].block;
  slice.dischargeY = sources[static_cast<std::size_t>(hydraulicSources.at(1))].block;
  for (HydraulicConsumer* consumer : consumers) consumer->add(time, slice);
}

// The buffers go to the next step, whose datasets, columns and outputs come
// in the order of this one's and have their shapes: no step after the first
// allocates or clears memory.
void StepStream::forgetStep() {
  keep(keptSlices, datasets, &Dataset::slice);
  keep(keptColumns, sources, &Source::values);
  keep(keptValues, outputs, &Output::values);
  outputs.clear();
  consumers.clear();
  hydraulicSources.clear();
  sources.clear();
  sourceIndex.clear();
  datasets.clear();
  datasetIndex.clear();
}

template <typename Item>
void StepStream::keep(std::vector<std::vector<double>>& buffers, std::vector<Item>& items,
                      std::vector<double> Item::*buffer) {
  if (buffers.size() < items.size()) buffers.resize(items.size());
  for (std::size_t k = 0; k < items.size(); ++k) buffers[k] = std::move(items[k].*buffer);
}

std::vector<double> StepStream::kept(std::vector<std::vector<double>>& buffers, std::size_t position) {
  return position < buffers.size() ? std::move(buffers[position]) : std::vector<double>();
}

}  // namespace results
