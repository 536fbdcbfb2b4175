#include "results/xdmf/PortableForm.hpp"

#include "dataio/xdmf/PortableEnvelopeWriter.hpp"
#include "dataio/xdmf/PortableXdmfWriter.hpp"
#include "interfaces/Failure.hpp"
#include "results/stored/ResultsMesh.hpp"
#include "results/xdmf/FloodRecord.hpp"
#include "results/xdmf/StoredColumns.hpp"

namespace results {

namespace {

// Rows of three values, packed for one dataset write; an empty mesh gives an
// empty dataset.
template <typename T>
std::vector<T> packed(const std::vector<std::vector<T>>& rows) {
  std::vector<T> values;
  values.reserve(rows.size() * 3);
  for (const auto& row : rows) values.insert(values.end(), row.begin(), row.end());
  return values;
}

// A vector is stored with its zero third component: the shape every reader
// takes for a cell vector.
int widthOf(int components) { return components == 1 ? 1 : 3; }

}  // namespace

PortableForm::PortableForm(api::IResultReader& reader_, api::IModel& model_, api::IH5Writer& auxiliaryFile,
                           DryDepth& dryDepth_, const std::string& collectionName, std::string auxiliaryReference_,
                           dataio::TimeNotation notation)
    : reader(reader_),
      model(model_),
      auxiliary(auxiliaryFile),
      dryDepth(dryDepth_),
      auxiliaryReference(std::move(auxiliaryReference_)),
      tables(reader_),
      document(createPortableXdmfWriter(collectionName, auxiliaryReference, notation)) {
  RESULTS_CHECK(this->document, "the factory failed to generate a valid Xdmf writer");
}

void PortableForm::addTimeStep(double time) {
  tables.beginStep();
  document->addTimeStep(time);
}

void PortableForm::write(const std::string& documentFile) { document->write(documentFile); }

std::unique_ptr<api::IEnvelopeWriter> PortableForm::envelopeDocument(double lastTime) const {
  return std::unique_ptr<api::IEnvelopeWriter>(createPortableEnvelopeWriter(lastTime));
}

// The mesh keeps its results-file paths: CellsAll/Topology, NodesAll/Coordnts.
int PortableForm::addMesh() {
  const ResultsMesh mesh = readResultsMesh(reader, model);
  const int cells = static_cast<int>(mesh.topology.size());
  const int nodes = static_cast<int>(mesh.coordinates.size());
  auxiliary.writeIntBuffer(mesh.topologyPath, cells, 3, packed(mesh.topology).data());
  auxiliary.writeDoubleBuffer(mesh.coordinatesPath, nodes, 3, packed(mesh.coordinates).data());
  document->addMesh(cells, mesh.topologyPath, 3 * cells, mesh.coordinatesPath, 3 * nodes);
  return cells;
}

void PortableForm::addOutput(api::IOutput* out, int step) {
  RESULTS_CHECK(out, "a valid output is required");
  const Columns columns = out->getDataColumns();
  if (out->getID() == model::flood_tracking) return addFloodTracking(out, columns);
  const int nf = out->getNrDataFunctions();
  const int components = nf > 0 ? nf : static_cast<int>(columns.size());
  RESULTS_CHECK(components == 1 || components == 2, "only data of dimension 1 or 2 is supported");
  const std::string path = out->getName() + "/" + stepKey(out, columns, step);
  if (written.count(path) == 0) {
    const std::vector<Column> inputs = readColumns(out, columns, step);
    if (nf > 0)
      writeTransformed(out, path, inputs);
    else
      writeStored(path, inputs);
  }
  declare(out->getName(), path, components);
}

// The record of the first stored step, at every step: five scalars, each
// dataset written once.
void PortableForm::addFloodTracking(api::IOutput* out, const Columns& columns) {
  RESULTS_CHECK(columns.size() >= floodRecordColumns, "the flood record needs five columns");
  const std::string key = stepKey(out, columns, 0);
  std::vector<Column> inputs;
  for (int i = 0; i < floodRecordColumns; ++i) {
    const std::string name = out->getName() + floodRecordSuffixes[i];
    const std::string path = name + "/" + key;
    if (written.count(path) == 0) {
      if (inputs.empty()) inputs = readColumns(out, columns, 0);
      writeStored(path, {inputs[i]});
    }
    declare(name, path, 1);
  }
}

// The step whose values an attribute holds: the current one when an input
// is read at it; otherwise they are the same at every step: "0" when they
// hold the first stored step, "static" when all their data are stored once.
std::string PortableForm::stepKey(api::IOutput* out, const Columns& columns, int step) const {
  bool stepped = false;
  for (auto column = columns.begin(); column != columns.end(); ++column) {
    if (!model.getData(column->first)->isTimeDependent()) continue;
    stepped = true;
    if (columnDatasetPath(model, out, columns, column, step) != columnDatasetPath(model, out, columns, column, 0))
      return std::to_string(step);
  }
  return stepped ? "0" : "static";
}

std::vector<PortableForm::Column> PortableForm::readColumns(api::IOutput* out, const Columns& columns,
                                                                        int step) {
  std::vector<Column> inputs;
  for (auto column = columns.begin(); column != columns.end(); ++column) {
    const std::string path = columnDatasetPath(model, out, columns, column, step);
    const api::DoubleTable& table = tables.get(path);
    if (column->second < 0 || column->second >= table.columns)
      failure::fail("dataset <", path, "> does not contain column ", column->second, "!");
    inputs.push_back({table.values.data() + column->second, table.columns, table.rows});
    RESULTS_CHECK(inputs.front().rows == inputs.back().rows, "the input data sizes are inconsistent");
  }
  RESULTS_CHECK(!inputs.empty(), "there is no input");
  return inputs;
}

void PortableForm::writeStored(const std::string& path, const std::vector<Column>& inputs) {
  const int rows = inputs.front().rows;
  const int width = widthOf(static_cast<int>(inputs.size()));
  values.assign(static_cast<std::size_t>(rows) * width, 0.0);
  for (int i = 0; i < rows; ++i)
    for (std::size_t c = 0; c < inputs.size(); ++c) values[static_cast<std::size_t>(i) * width + c] = inputs[c][i];
  writeValues(path, rows, width);
}

// Cell by cell with the output's own functions, as the default document's
// computed outputs are.
void PortableForm::writeTransformed(api::IOutput* out, const std::string& path,
                                          const std::vector<Column>& inputs) {
  const int nf = out->getNrDataFunctions();
  std::vector<model::TransformFunction> transformers;
  for (int f = 0; f < nf; ++f) {
    transformers.push_back(out->getDataFunction(f).second);
    RESULTS_CHECK(transformers.back(), "failed to transform the data because the transformation is invalid");
  }
  const double depth = dryDepth.value();
  const int rows = inputs.front().rows;
  const int width = widthOf(nf);
  values.assign(static_cast<std::size_t>(rows) * width, 0.0);
  std::vector<double> cell(inputs.size());
  for (int i = 0; i < rows; ++i) {
    for (std::size_t c = 0; c < inputs.size(); ++c) cell[c] = inputs[c][i];
    for (int f = 0; f < nf; ++f) values[static_cast<std::size_t>(i) * width + f] = transformers[f](depth, cell);
  }
  writeValues(path, rows, width);
}

void PortableForm::writeValues(const std::string& path, int rows, int width) {
  auxiliary.writeDoubleBuffer(path, rows, width, values.data());
  written[path] = rows;
}

// <Attribute AttributeType="Scalar" Name="water_depth" Center="Cell">
//     <DataItem ... Dimensions="6000 1" ...>out_aux.h5:/water_depth/12
void PortableForm::declare(const std::string& name, const std::string& path, int components) {
  const int rows = written.at(path);
  if (components == 1)
    document->addScalar(name, rows, auxiliaryReference, path, 1, 0);
  else
    document->addVector(name, rows, auxiliaryReference, path, 3, {0, 1});
}

}  // namespace results
