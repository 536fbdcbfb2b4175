#pragma once
// The data of a portable document: the mesh and every attribute of every
// exported step as a plain dataset of the auxiliary file, in the shape the
// document declares, so that the document needs no other file. Stored columns
// are copied, derived outputs computed with their transformation functions
// (also those the default document leaves to the viewer as XDMF functions),
// and vectors get a zero third component.
//
// Auxiliary file layout, beside the mesh under the data entries' own paths:
//   <attribute>/<step>    the values at that step, cells x 1 or cells x 3
//   <attribute>/0         values that hold the first stored step's record
//                         alone (flood_tracking_t, ...), written once
//   <attribute>/static    values of data stored once (a fixed bed), written once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "interfaces/IH5Writer.hpp"
#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"
#include "interfaces/IXdmfWriter.hpp"

namespace results {

class PortableAttributes {
 public:
  using Columns = std::vector<model::DataColumn>;
  // How the export reads its data: the dataset that holds a data column of an
  // output at a step, that dataset whole (valid while the step is written),
  // and the depth below which a cell counts as dry.
  struct Inputs {
    api::IResultReader& reader;
    api::IModel& model;
    std::function<std::string(api::IOutput* out, const Columns& columns, Columns::const_iterator column, int step)>
        columnPath;
    std::function<const api::DoubleTable&(const std::string& path)> table;
    std::function<double()> minimumDepth;
  };

  // auxiliaryReference is the auxiliary file as the document names it.
  PortableAttributes(Inputs inputs, api::IXdmfWriter& document, api::IH5Writer& auxiliaryFile,
                     std::string auxiliaryReference);

  // Copies the mesh into the auxiliary file and declares it; the cell count.
  int addMesh();
  // The output's attributes at the step, into the open step of the document.
  void addOutput(api::IOutput* out, int step);

 private:
  // One input column of a stored dataset, as its rows.
  struct Column {
    const double* first;
    int stride;
    int rows;
    double operator[](int row) const { return first[static_cast<std::size_t>(row) * stride]; }
  };

  void addFloodTracking(api::IOutput* out, const Columns& columns);
  std::string stepKey(api::IOutput* out, const Columns& columns, int step) const;
  std::vector<Column> readColumns(api::IOutput* out, const Columns& columns, int step) const;
  void writeStored(const std::string& path, const std::vector<Column>& inputs);
  void writeTransformed(api::IOutput* out, const std::string& path, const std::vector<Column>& inputs);
  void writeValues(const std::string& path, int rows, int width);
  void declare(const std::string& name, const std::string& path, int components);

  Inputs in;
  api::IXdmfWriter& document;
  api::IH5Writer& auxiliary;
  std::string auxiliaryReference;
  std::map<std::string, int> written;  // auxiliary dataset -> its rows
  std::vector<double> values;          // rows x components, reused
};

}  // namespace results
