// The envelopes in the auxiliary file, and the envelope document that names them.

#include <gtest/gtest.h>
#include <hdf5.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "dataio/hdf5/H5Writer.hpp"
#include "dataio/xdmf/EnvelopeXdmfWriter.hpp"
#include "results/envelopes/EnvelopeDatasets.hpp"
#include "support/BinaryRun.hpp"
#include "support/FailureReport.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using results::Envelopes;
using testing_support::groupMembers;
using testing_support::readStoredDataset;
using testing_support::StoredDataset;

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

// Two cells; every array holds values of its own.
Envelopes twoCells() {
  Envelopes e;
  e.waterDepthMax = {1.5, 0.25};
  e.waterDepthTmax = {30.0, notANumber};
  e.waterSurfaceMax = {11.5, 10.25};
  e.waterSurfaceTmax = {30.0, notANumber};
  e.flowVelocityAbsMax = {0.5, 0.0};
  e.flowVelocityAbsTmax = {20.0, notANumber};
  e.flowVelocityAtMax = {0.3, -0.4, 0.0, -0.0, 0.0, 0.0};
  e.depthVelocityMax = {0.6, 0.0};
  e.arrivalTime = {-10.0, notANumber};
  e.wetDuration = {42.5, 0.0};
  return e;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

void writeAuxiliary(const std::string& file, const Envelopes& envelopes, int cells) {
  std::unique_ptr<api::IH5Writer> writer(dataio::createH5Writer(file));
  results::writeEnvelopes(*writer, envelopes, cells);
  writer->close();
}

}  // namespace

TEST(EnvelopeDatasets, EveryEnvelopeLiesUnderEnvelopesInItsShape) {
  testing_support::TempDir folder;
  const std::string aux = folder.file("out_aux.h5");
  writeAuxiliary(aux, twoCells(), 2);
  const std::vector<std::pair<std::string, std::vector<double>>> scalars = {
      {"water_depth_max", {1.5, 0.25}},     {"water_depth_tmax", {30.0, notANumber}},
      {"water_surface_max", {11.5, 10.25}}, {"water_surface_tmax", {30.0, notANumber}},
      {"flow_velocity_abs_max", {0.5, 0.0}}, {"flow_velocity_abs_tmax", {20.0, notANumber}},
      {"depth_velocity_max", {0.6, 0.0}},   {"arrival_time", {-10.0, notANumber}},
      {"wet_duration", {42.5, 0.0}}};
  for (const auto& [name, values] : scalars) {
    const StoredDataset stored = readStoredDataset(aux, "envelopes/" + name);
    EXPECT_EQ(stored.dims, (std::vector<hsize_t>{2, 1})) << name;
    EXPECT_TRUE(sameBits(stored.values, values)) << name;
    EXPECT_EQ(stored.size, 2) << name;
  }
  const StoredDataset vector = readStoredDataset(aux, "envelopes/flow_velocity_at_max");
  EXPECT_EQ(vector.dims, (std::vector<hsize_t>{2, 3}));
  EXPECT_TRUE(sameBits(vector.values, {0.3, -0.4, 0.0, -0.0, 0.0, 0.0}));
  EXPECT_EQ(vector.size, 6);
  EXPECT_EQ(groupMembers(aux, "envelopes"), scalars.size() + 1);
}

// Every HDF item of the document names a dataset of the auxiliary file that
// has the shape the item declares, and every dataset is named once.
TEST(EnvelopeDatasets, DocumentNamesEveryDatasetInItsShape) {
  testing_support::TempDir folder;
  const std::string aux = folder.file("out_aux.h5");
  writeAuxiliary(aux, twoCells(), 2);
  std::unique_ptr<api::IEnvelopeWriter> document(createEnvelopeWriter(30.0));
  document->addMesh("run.h5", 2, "/CellsAll/Topology", 4, "/NodesAll/Coordnts");
  results::addEnvelopeAttributes(*document, "out_aux.h5");
  document->write(folder.file("out_envelopes.xdmf"));
  const std::string text = testing_support::readFile(folder.file("out_envelopes.xdmf"));

  const std::regex item(R"re(Dimensions="(\d+) (\d+)" Format="HDF"[^>]*>\s*out_aux\.h5:(\S+))re");
  std::size_t named = 0;
  for (auto match = std::sregex_iterator(text.begin(), text.end(), item); match != std::sregex_iterator(); ++match) {
    const StoredDataset stored = readStoredDataset(aux, (*match)[3]);
    EXPECT_EQ(stored.dims, (std::vector<hsize_t>{std::stoull((*match)[1]), std::stoull((*match)[2])})) << (*match)[3];
    ++named;
  }
  EXPECT_EQ(named, groupMembers(aux, "envelopes"));
  for (const results::EnvelopeDataset& dataset : results::envelopeDatasets()) {
    const std::string attribute = std::string("Name=\"") + dataset.name + "\" Center=\"Cell\"";
    EXPECT_NE(text.find(attribute), std::string::npos) << dataset.name;
  }
}

TEST(EnvelopeDatasets, EnvelopesOfAnotherMeshAreRefusedBeforeAnyWrite) {
  testing_support::TempDir folder;
  std::unique_ptr<api::IH5Writer> writer(dataio::createH5Writer(folder.file("out_aux.h5")));
  Envelopes lastOneShort = twoCells();
  lastOneShort.wetDuration.pop_back();
  const std::regex line(
      " -> the envelopes do not match the mesh, in file: src/results/envelopes/EnvelopeDatasets\\.cpp on line [0-9]+, version "
      "v3\\.1\\.0\n");
  for (const auto& [envelopes, cells] : {std::pair{lastOneShort, 2}, std::pair{twoCells(), 3}}) {
    const std::string report =
        testing_support::failureReport([&] { results::writeEnvelopes(*writer, envelopes, cells); });
    EXPECT_TRUE(std::regex_match(report, line)) << report;
  }
  writer->close();
  EXPECT_EQ(groupMembers(folder.file("out_aux.h5"), "/"), 0u);
}
