#include "results/hydrographs/MeshGeometry.hpp"

#include "model/catalogue/Catalogue.hpp"

namespace results {

PlaneMesh readRunMesh(api::IH5Reader& reader, api::IModel& model) {
  return readPlaneMesh(reader, model.getData(model::data_Topology)->getPath(),
                       model.getData(model::data_Coordnts_Nodes)->getPath());
}

MeshGeometry::MeshGeometry(api::IH5Reader& reader, api::IModel& model) : plane(readRunMesh(reader, model)), index(plane) {}

MeshGeometry::MeshGeometry(PlaneMesh mesh) : plane(std::move(mesh)), index(plane) {}

}  // namespace results
