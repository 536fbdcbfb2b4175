// The least work an export of flow_velocity and flow_velocity_abs can do:
// per stored time step, read the hydraulic state and the bed once, compute
// both outputs and write them to the auxiliary file in the export's layout
// (flow_velocity/<step> n x 2, flow_velocity_abs/<step> n x 1, "size").
// The benchmark compares the tool's export against this.

#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "synthetic/H5Write.hpp"

namespace {

using synthetic::checkStatus;
using synthetic::Handle;

const std::string hydState = "/RESULTS/CellsAll/HydState";
const std::string bottomSteps = "/RESULTS/CellsAll/BottomEl";
const std::string bottomStatic = "/CellsAll/BottomEl";

bool linkExists(hid_t file, const std::string& path) {
  // A missing intermediate group makes the probe fail: that too means "absent".
  H5E_auto2_t handler = nullptr;
  void* data = nullptr;
  H5Eget_auto2(H5E_DEFAULT, &handler, &data);
  H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
  const htri_t exists = H5Lexists(file, path.c_str(), H5P_DEFAULT);
  H5Eset_auto2(H5E_DEFAULT, handler, data);
  return exists > 0;
}

std::string stepPath(const std::string& group, int step) {
  char name[16];
  std::snprintf(name, sizeof name, "%07d", step);
  return group + "/" + name;
}

// Into storage kept from step to step: a floor that allocated and touched
// new pages for every step would measure the allocator, not the export.
void readAll(hid_t file, const std::string& path, std::vector<double>& values) {
  Handle dataset(H5Dopen2(file, path.c_str(), H5P_DEFAULT), H5Dclose, "opening " + path);
  Handle space(H5Dget_space(dataset.get()), H5Sclose, "dataspace of " + path);
  values.resize(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space.get())));
  checkStatus(H5Dread(dataset.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                      values.data()),
              "reading " + path);
}

double readTime(hid_t file, const std::string& path) {
  Handle attribute(H5Aopen_by_name(file, path.c_str(), "t", H5P_DEFAULT, H5P_DEFAULT), H5Aclose,
                   "attribute t of " + path);
  double t = 0.0;
  checkStatus(H5Aread(attribute.get(), H5T_NATIVE_DOUBLE, &t), "attribute t of " + path);
  return t;
}

int stepCount(hid_t file, const std::string& group) {
  Handle handle(H5Gopen2(file, group.c_str(), H5P_DEFAULT), H5Gclose, "opening " + group);
  H5G_info_t info;
  checkStatus(H5Gget_info(handle.get(), &info), "counting " + group);
  return static_cast<int>(info.nlinks);
}

// Time to step number over every stored group, as the export asks for it.
std::map<double, int> storedTimes(hid_t file, const std::vector<std::string>& groups) {
  std::map<double, int> times;
  for (const std::string& group : groups) {
    const int steps = stepCount(file, group);
    for (int step = 0; step < steps; ++step) {
      times.emplace(readTime(file, stepPath(group, step)), step);
    }
  }
  return times;
}

double readMinDepth(hid_t file) {
  const std::string path = "/Parameters/MinWaterDepth";
  if (!linkExists(file, path)) return 0.0;
  std::vector<double> value;
  readAll(file, path, value);
  return value.at(0);
}

struct Velocities {
  std::vector<double> vector;     // u, v per cell
  std::vector<double> magnitude;  // |u| per cell
};

void computeVelocities(const std::vector<double>& state, const std::vector<double>& bed,
                       double minDepth, Velocities& out) {
  const std::size_t cells = bed.size();
  out.vector.resize(2 * cells);
  out.magnitude.resize(cells);
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const double h = state[3 * cell] - bed[cell];
    const bool dry = minDepth > h;
    const double u = dry ? 0.0 : state[3 * cell + 1] / h;
    const double v = dry ? 0.0 : state[3 * cell + 2] / h;
    out.vector[2 * cell] = u;
    out.vector[2 * cell + 1] = v;
    out.magnitude[cell] = dry ? 0.0 : std::sqrt(v * v + u * u);
  }
}

void exportFloor(const std::string& resultsPath, const std::string& auxPath) {
  Handle results(H5Fopen(resultsPath.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT), H5Fclose,
                 "opening " + resultsPath);
  Handle aux = synthetic::createFile(auxPath);
  const bool bedPerStep = linkExists(results.get(), bottomSteps);
  std::vector<std::string> groups = {hydState};
  if (bedPerStep) {
    groups.push_back(bottomSteps);
  }
  const double minDepth = readMinDepth(results.get());
  Velocities velocities;
  std::vector<double> state;
  std::vector<double> bed;
  for (const auto& [time, step] : storedTimes(results.get(), groups)) {
    readAll(results.get(), stepPath(hydState, step), state);
    readAll(results.get(), bedPerStep ? stepPath(bottomSteps, step) : bottomStatic, bed);
    computeVelocities(state, bed, minDepth, velocities);
    const std::string name = "/" + std::to_string(step);
    synthetic::writeDoubleMatrix(aux.get(), "/flow_velocity" + name, velocities.vector, 2);
    synthetic::writeDoubleMatrix(aux.get(), "/flow_velocity_abs" + name, velocities.magnitude, 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: export_floor <results file> <auxiliary file>\n";
    return 2;
  }
  try {
    exportFloor(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}
