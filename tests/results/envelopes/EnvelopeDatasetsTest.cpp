#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HydraulicColumns.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "results/envelopes/EnvelopeDatasets.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using envelope_testing::notANumber;
using results::Envelopes;

namespace {

// Two cells; every array holds values of its own, so that no envelope can stand under another's name.
struct Named {
  std::string name;
  std::vector<double> Envelopes::*member;
  std::vector<double> values;
};
const Named named[] = {
    {"water_depth_max", &Envelopes::waterDepthMax, {1.5, 0.25}},
    {"water_depth_tmax", &Envelopes::waterDepthTmax, {30.0, notANumber}},
    {"water_surface_max", &Envelopes::waterSurfaceMax, {11.5, 10.25}},
    {"water_surface_tmax", &Envelopes::waterSurfaceTmax, {31.0, notANumber}},
    {"flow_velocity_abs_max", &Envelopes::flowVelocityAbsMax, {0.5, 0.0}},
    {"flow_velocity_abs_tmax", &Envelopes::flowVelocityAbsTmax, {20.0, notANumber}},
    {"depth_velocity_max", &Envelopes::depthVelocityMax, {0.6, 0.1}},
    {"arrival_time", &Envelopes::arrivalTime, {-10.0, notANumber}},
    {"wet_duration", &Envelopes::wetDuration, {42.5, 0.0}},
    {"flow_velocity_at_max", &Envelopes::flowVelocityAtMax, {0.3, -0.4, 0.0, -0.0, 0.0, 0.0}}};

}  // namespace

// Every envelope of one value per cell is a column; the velocity at the fastest time has three.
TEST(EnvelopeDatasets, EveryEnvelopeLiesUnderEnvelopesInItsShape) {
  Envelopes twoCells;
  for (const Named& n : named) twoCells.*n.member = n.values;
  testing_support::TempDir folder;
  const std::string aux = folder.file("out_aux.h5");
  {
    std::unique_ptr<api::IH5Writer> writer(dataio::createH5Writer(aux));
    results::writeEnvelopes(*writer, twoCells, 2);
    writer->close();
  }
  for (const Named& n : named) {
    const testing_support::StoredDataset stored = testing_support::readStoredDataset(aux, "envelopes/" + n.name);
    EXPECT_EQ(stored.dims, (std::vector<hsize_t>{2, n.values.size() / 2})) << n.name;
    EXPECT_TRUE(envelope_testing::sameBits(stored.values, n.values)) << n.name;
    EXPECT_EQ(stored.size, static_cast<int>(n.values.size())) << n.name;
  }
  EXPECT_EQ(testing_support::groupMembers(aux, "envelopes"), std::size(named));
}
