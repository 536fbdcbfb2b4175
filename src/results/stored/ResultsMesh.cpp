#include "results/stored/ResultsMesh.hpp"

#include <filesystem>

#include "dataio/mesh2dm/Mesh2dmWriter.hpp"
#include "interfaces/Failure.hpp"

namespace results {

namespace {

template <typename T>
void requireTriples(const std::string& path, const std::vector<std::vector<T>>& rows, const char* what) {
  if (!rows.empty() && rows.front().size() != 3)
    failure::fail("the mesh dataset <", path, "> holds ", rows.front().size(), " ", what, " per row instead of 3");
}

}  // namespace

ResultsMesh readResultsMesh(api::IH5Reader& reader, api::IModel& model) {
  ResultsMesh mesh;
  mesh.topologyPath = model.getData(model::data_Topology)->getPath();
  mesh.coordinatesPath = model.getData(model::data_Coordnts_Nodes)->getPath();
  mesh.topology = reader.readIntArray(mesh.topologyPath);
  requireTriples(mesh.topologyPath, mesh.topology, "node numbers");
  mesh.coordinates = reader.readDoubleArray(mesh.coordinatesPath);
  requireTriples(mesh.coordinatesPath, mesh.coordinates, "coordinates");
  return mesh;
}

void writeMeshFile(api::IH5Reader& reader, api::IModel& model, const std::string& fileName) {
  const ResultsMesh mesh = readResultsMesh(reader, model);
  dataio::writeMesh2dm(fileName, mesh.topology, mesh.coordinates);
}

bool isSomeoneElsesMeshFile(const std::string& fileName) {
  std::error_code error;
  return std::filesystem::exists(fileName, error) && !dataio::isMesh2dmOfThisTool(fileName);
}

}  // namespace results
