#include "results/envelopes/EnvelopeDatasets.hpp"

#include <algorithm>
#include <cstddef>

#include "interfaces/Failure.hpp"

namespace results {

namespace {

using E = Envelopes;

}  // namespace

const std::vector<EnvelopeDataset>& envelopeDatasets() {
  static const std::vector<EnvelopeDataset> datasets = {
      {"water_depth_max",        &E::waterDepthMax,       1},
      {"water_depth_tmax",       &E::waterDepthTmax,      1},
      {"water_surface_max",      &E::waterSurfaceMax,     1},
      {"water_surface_tmax",     &E::waterSurfaceTmax,    1},
      {"flow_velocity_abs_max",  &E::flowVelocityAbsMax,  1},
      {"flow_velocity_abs_tmax", &E::flowVelocityAbsTmax, 1},
      {"flow_velocity_at_max",   &E::flowVelocityAtMax,   3},
      {"depth_velocity_max",     &E::depthVelocityMax,    1},
      {"arrival_time",           &E::arrivalTime,         1},
      {"wet_duration",           &E::wetDuration,         1},
  };
  return datasets;
}

const EnvelopeDataset& hazardClassDataset() {
  static const EnvelopeDataset dataset{"hazard_class_max", &E::hazardClassMax, 1};
  return dataset;
}

std::string envelopeDatasetPath(const char* name) { return std::string("/envelopes/") + name; }

// Checked whole before the first write, so that a mismatch leaves no part of
// the envelopes behind.
void writeEnvelopes(api::IH5Writer& auxiliaryFile, const Envelopes& envelopes, int cells) {
  for (const EnvelopeDataset& dataset : envelopeDatasets()) {
    const std::size_t rows = cells < 0 ? 0 : static_cast<std::size_t>(cells);
    RESULTS_CHECK(cells >= 0 && (envelopes.*dataset.values).size() == rows * static_cast<std::size_t>(dataset.columns),
                  "the envelopes do not match the mesh");
  }
  const bool hazardClasses = !envelopes.hazardClassMax.empty();
  RESULTS_CHECK(!hazardClasses || envelopes.hazardClassMax.size() == static_cast<std::size_t>(std::max(cells, 0)),
                "the envelopes do not match the mesh");
  for (const EnvelopeDataset& dataset : envelopeDatasets()) {
    auxiliaryFile.writeDoubleBuffer(envelopeDatasetPath(dataset.name), cells, dataset.columns,
                                    (envelopes.*dataset.values).data());
  }
  if (hazardClasses)
    auxiliaryFile.writeDoubleBuffer(envelopeDatasetPath(hazardClassDataset().name), cells, 1,
                                    envelopes.hazardClassMax.data());
}

void addEnvelopeAttributes(api::IEnvelopeWriter& document, const std::string& auxiliaryReference,
                           bool hazardClasses) {
  for (const EnvelopeDataset& dataset : envelopeDatasets()) {
    const std::string path = envelopeDatasetPath(dataset.name);
    if (dataset.columns == 3) {
      document.addVector(dataset.name, auxiliaryReference, path);
    } else {
      document.addScalar(dataset.name, auxiliaryReference, path);
    }
  }
  if (hazardClasses)
    document.addScalar(hazardClassDataset().name, auxiliaryReference, envelopeDatasetPath(hazardClassDataset().name));
}

}  // namespace results
