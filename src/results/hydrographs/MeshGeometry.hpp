#pragma once
// The mesh in the plane with its spatial index, read once per run for every
// entry that records gauges or sections.

#include "interfaces/IModel.hpp"
#include "interfaces/IH5Reader.hpp"
#include "results/geometry/CellLocator.hpp"
#include "results/geometry/PlaneMesh.hpp"

namespace results {

// The run's mesh in the plane, from its checked mesh datasets.
PlaneMesh readRunMesh(api::IH5Reader& reader, api::IModel& model);

class MeshGeometry {
 public:
  // From a checked mesh (node numbers in range).
  MeshGeometry(api::IH5Reader& reader, api::IModel& model);
  explicit MeshGeometry(PlaneMesh mesh);
  MeshGeometry(const MeshGeometry&) = delete;
  MeshGeometry& operator=(const MeshGeometry&) = delete;

  const PlaneMesh& mesh() const { return plane; }
  const CellLocator& locator() const { return index; }

 private:
  PlaneMesh plane;
  CellLocator index;  // refers to plane
};

}  // namespace results
