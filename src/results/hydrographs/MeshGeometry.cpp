#include "results/hydrographs/MeshGeometry.hpp"

#include "model/catalogue/Catalogue.hpp"

namespace results {

MeshGeometry::MeshGeometry(api::IH5Reader& reader, api::IModel& model)
    : plane(readPlaneMesh(reader, model.getData(model::data_Topology)->getPath(),
                          model.getData(model::data_Coordnts_Nodes)->getPath())),
      index(plane) {}

MeshGeometry::MeshGeometry(PlaneMesh mesh) : plane(std::move(mesh)), index(plane) {}

}  // namespace results
