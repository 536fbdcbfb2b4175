#include "synthetic/ModelTexts.hpp"

#include <nlohmann/json.hpp>

namespace synthetic {
namespace {

nlohmann::json hydraulics(const Channel& channel) {
  return {{"INITIAL", {{"type", "dam_break"},
                       {"dam_position", channel.damPosition},
                       {"upstream_depth", channel.upstreamDepth}}},
          {"FRICTION", {{"type", "manning"}, {"default", channel.manning}}}};
}

nlohmann::json morphology() {
  return {{"BEDMATERIAL", {{"grain_diameter", 0.02}, {"porosity", 0.4}}},
          {"BEDLOAD", {{"formula", "MPM"}, {"factor", 1.0}}}};
}

}  // namespace

std::string modelText(ModelKind model, const Channel& channel) {
  nlohmann::json domain = {{"GEOMETRY", {{"mesh_file", "dambreak.2dm"}}},
                           {"HYDRAULICS", hydraulics(channel)}};
  if (model == ModelKind::morphology) {
    domain["MORPHOLOGY"] = morphology();
  }
  if (model == ModelKind::flood) {
    domain["HYDRAULICS"]["FLOOD"] = {{"track", true}};
  }
  const nlohmann::json text = {{"SETUP", {{"DOMAIN", {{"VELDRIX_2D", domain}}}}}};
  return text.dump(2);
}

std::string simulationText(const std::vector<std::string>& outputs,
                           const std::vector<double>& times) {
  const double interval = times.size() > 1 ? times[1] - times[0] : 0.0;
  const nlohmann::json text = {
      {"SIMULATION",
       {{"TIME", {{"start", 0.0}, {"end", times.empty() ? 0.0 : times.back()},
                  {"out", interval}}},
        {"OUTPUT", outputs}}}};
  return text.dump(2);
}

}  // namespace synthetic
