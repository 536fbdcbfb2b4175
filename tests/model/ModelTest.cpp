#include <gtest/gtest.h>

#include "model/catalogue/Catalogue.hpp"
#include "model/Model.hpp"
#include "support/ModelTestSupport.hpp"

using namespace model;
using model_testing::checkLine;
using model_testing::composeQuietly;
using model_testing::failureText;

namespace {

template <typename ID>
std::vector<int> numbers(const std::vector<ID>& ids) {
  return std::vector<int>(ids.begin(), ids.end());
}

std::vector<int> range(int first, int last) {
  std::vector<int> all;
  for (int id = first; id <= last; ++id) all.push_back(id);
  return all;
}

std::vector<int> without(std::vector<int> all, const std::vector<int>& dropped) {
  for (int id : dropped) all.erase(std::find(all.begin(), all.end(), id));
  return all;
}

std::string refusalOf(api::IModel& model, const std::string& name) {
  return failureText([&] { model.defineOutputs({name}); });
}

}  // namespace

// Expectations worked out by hand from the kernel rows of hydraulics_aggr:
// InitCellHydFeatures, TimeStepCalculation, HydWallBFluxes, HydInternalFluxes, Update.
TEST(ModelClosure, HydraulicsAggregateAlone) {
  const auto model = composeQuietly("a.0");
  EXPECT_EQ(numbers(model->getAggregates()), (std::vector<int>{0}));
  EXPECT_EQ(numbers(model->getKernels()), (std::vector<int>{0, 5, 17, 21, 28}));
  EXPECT_EQ(numbers(model->getData()), (std::vector<int>{1, 2, 3, 4, 13, 14, 17, 18, 19}));
  EXPECT_EQ(numbers(model->getMaps()), (std::vector<int>{0, 7, 8, 9, 13, 14}));
  EXPECT_EQ(numbers(model->getParameters()), (std::vector<int>{1, 2, 3, 4, 31, 58}));
  EXPECT_EQ(numbers(model->getSets()), (std::vector<int>{1, 4, 5, 8}));
  EXPECT_TRUE(model->getOutputs().empty());
  EXPECT_TRUE(model->getVariables().empty());
}

TEST(ModelClosure, FrictionAggregateAlone) {
  const auto model = composeQuietly("a.13");
  EXPECT_EQ(numbers(model->getKernels()), (std::vector<int>{3, 34}));
  EXPECT_EQ(numbers(model->getData()), (std::vector<int>{13, 14, 21, 22}));
  EXPECT_TRUE(model->getMaps().empty());
  EXPECT_EQ(numbers(model->getParameters()), (std::vector<int>{3, 4, 5, 7}));
  EXPECT_EQ(numbers(model->getSets()), (std::vector<int>{1}));
}

TEST(ModelClosure, FloodAggregateCarriesFloodTracking) {
  const auto model = composeQuietly("a.17");
  EXPECT_EQ(numbers(model->getKernels()), (std::vector<int>{35}));
  EXPECT_EQ(numbers(model->getData()), (std::vector<int>{13, 14, 17, 22, 30}));
  EXPECT_TRUE(model->getParameters().empty());
  EXPECT_EQ(model->getOutputs(), std::vector<OutputID>{flood_tracking});
  api::IOutput* flood = model->getOutput(flood_tracking);
  EXPECT_TRUE(flood->isMarked());
  EXPECT_EQ(flood->getDataIDs(), std::vector<DataID>{data_FloodVar});
  EXPECT_EQ(flood->getPath(), "CellsAll/flood_tracking");
}

TEST(ModelClosure, FloodTrackingOnlyWithFloodVar) {
  for (int aggregate = 0; aggregate < 17; ++aggregate) {
    EXPECT_TRUE(composeQuietly("a." + std::to_string(aggregate))->getOutputs().empty()) << aggregate;
  }
  EXPECT_EQ(composeQuietly("k.35")->getOutputs(), std::vector<OutputID>{flood_tracking});
}

TEST(ModelClosure, SingleKernel) {
  const auto model = composeQuietly("k.21");
  EXPECT_TRUE(model->getAggregates().empty());
  EXPECT_EQ(numbers(model->getKernels()), (std::vector<int>{21}));
  EXPECT_EQ(numbers(model->getSets()), (std::vector<int>{1, 4, 8}));
  EXPECT_EQ(model->getKernel(HydInternalFluxes)->getPath(), "EdgesSWE/HydInternalFluxes");
}

// Every data is used by some kernel except the three static ones, which the
// full model adds; no kernel uses the maps to regions or the tracer-source
// maps; RefBottomEl and FluidViscosity serve no kernel.
TEST(ModelClosure, FullModelHoldsStaticDataAndTheirSets) {
  const auto model = composeQuietly("");
  EXPECT_EQ(numbers(model->getAggregates()), range(0, 17));
  EXPECT_EQ(numbers(model->getKernels()), range(0, 38));
  EXPECT_EQ(numbers(model->getData()), range(0, 53));
  EXPECT_EQ(numbers(model->getSets()), range(0, 24));
  EXPECT_EQ(numbers(model->getMaps()), without(range(0, 45), {5, 40, 43, 44, 45}));
  std::vector<int> parameters;
  for (const auto& entry : ParameterProps) parameters.push_back(entry.first);
  EXPECT_EQ(numbers(model->getParameters()), without(parameters, {0, 11}));
  EXPECT_EQ(model->getOutputs(), std::vector<OutputID>{flood_tracking});
  EXPECT_TRUE(model->getData(data_Topology)->isStatic());
  EXPECT_FALSE(model->getData(data_Topology)->isTimeDependent());
  EXPECT_EQ(model->getData(data_StrNames)->getPath(), "NodeStrg/StrNames");
  EXPECT_EQ(model->getData(data_Coordnts_Nodes)->getPath(), "NodesAll/Coordnts");
}

TEST(ModelClosure, SingleAggregateHasNoStaticData) {
  const auto model = composeQuietly("a.3");
  const std::vector<DataID> data = model->getData();
  EXPECT_FALSE(isListed(data, data_Topology));
  EXPECT_FALSE(isListed(data, data_Coordnts_Nodes));
  EXPECT_FALSE(isListed(data, data_StrNames));
  EXPECT_FALSE(isListed(model->getSets(), set_NodesAll));
}

TEST(ModelEntities, StateDataFollowTheKernels) {
  const auto model = composeQuietly("a.0");
  EXPECT_TRUE(model->getData(data_HydState)->isState());
  EXPECT_TRUE(model->getData(data_HydState)->isTimeDependent());
  EXPECT_FALSE(model->getData(data_BottomEl)->isState());
  EXPECT_TRUE(model->getData(data_FluxesHy)->isTimeDependent());
  EXPECT_FALSE(model->getData(data_GeomArea_Cells)->isTimeDependent());
  EXPECT_EQ(model->getKernel(Update)->getExtraData(), std::vector<DataID>{data_FluxesMo});
  EXPECT_EQ(model->getData(data_HydState)->getSet(), model->getSet(set_CellsAll));
  EXPECT_EQ(model->getMap(map_EdgesAll_CellsAll)->getTargetSet(), model->getSet(set_CellsAll));
}

TEST(ModelEntities, LookupsOfAbsentEntitiesFail) {
  const auto model = composeQuietly("a.0");
  EXPECT_EQ(failureText([&] { model->getSet(set_NodeStrg); }), checkLine("set <14> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getDataBase(data_TrcState); }),
            checkLine("data <15> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getOutput(water_depth); }), checkLine("output <1> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getParameter(RefBottomEl); }),
            checkLine("parameter <0> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getVariable(static_cast<VariableID>(0)); }),
            checkLine("variable <0> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getAggregateBase(hyd_flood_aggr); }),
            checkLine("aggregate <17> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getKernel(HydFlood); }), checkLine("kernel <35> not found", "Model.cpp"));
  EXPECT_EQ(failureText([&] { model->getMap(map_NodeStrg_EdgesAll); }),
            checkLine("map <28> not found", "Model.cpp"));
}

TEST(ModelEntities, BaseLookupsReachTheSameEntity) {
  const auto model = composeQuietly("a.0");
  EXPECT_EQ(model->getDataBase(data_HydState), static_cast<api::IBase*>(model->getData(data_HydState)));
  EXPECT_EQ(model->getSetBase(set_EdgesAll)->getPath(), "EdgesAll/set");
  EXPECT_EQ(model->getParameterBase(MinWaterDepth)->getPath(), "Parameters/MinWaterDepth");
  EXPECT_EQ(model->getKernelBase(Update)->getName(), "Update");
  EXPECT_EQ(model->getMapBase(map_CellsAll_EdgesAll)->getSize(), 3);
  EXPECT_EQ(model->getAggregateBase(hydraulics_aggr)->getPath(), "hydraulics_aggr");
}

TEST(ModelEntities, GetOrCreateAddsEntitiesWithTheirSetsButNotToTheLists) {
  const auto model = composeQuietly("a.13");
  api::IBase* map = model->getOrCreateMap(map_NodeStrg_EdgesAll);
  EXPECT_EQ(map->getPath(), "NodeStrg/EdgesAll");
  EXPECT_EQ(model->getOrCreateMap(map_NodeStrg_EdgesAll), map);
  EXPECT_EQ(model->getSet(set_EdgesAll)->getName(), "EdgesAll");
  EXPECT_EQ(model->getOrCreateData(data_StateVar)->getPath(), "NodeStrg/StateVar");
  EXPECT_EQ(model->getOrCreateKernel(HydFlood)->getPath(), "CellsAll/HydFlood");
  EXPECT_EQ(model->getOrCreateParameter(SafeMode)->getPath(), "Parameters/SafeMode");
  EXPECT_EQ(model->getOrCreateSet(set_CellsAll), static_cast<api::IBase*>(model->getSet(set_CellsAll)));
  EXPECT_EQ(numbers(model->getSets()), (std::vector<int>{1}));
  EXPECT_EQ(numbers(model->getMaps()), std::vector<int>{});
  EXPECT_EQ(numbers(model->getData()), (std::vector<int>{13, 14, 21, 22}));
}

TEST(ModelOutputs, DefinedOutputsAreConfigured) {
  const auto model = composeQuietly("a.0");
  model->defineOutputs({"water_depth", "delta_z"});
  EXPECT_EQ(model->getOutputs(), (std::vector<OutputID>{water_depth, delta_z}));
  api::IOutput* depth = model->getOutput(water_depth);
  EXPECT_EQ(depth->getPath(), "CellsAll/water_depth");
  EXPECT_EQ(depth->getNrDataFunctions(), 1);
  EXPECT_EQ(depth->getDataIDs(), (std::vector<DataID>{data_HydState, data_BottomEl}));
  EXPECT_EQ(model->getOutput(delta_z)->getRepeatedColumns(), std::vector<int>{0});
}

// With the kernel rows as they are, Update brings no TrcState: the tracer
// outputs are not valid for hydraulics_aggr alone.
TEST(ModelOutputs, RefusalListsTheValidOutputs) {
  const auto model = composeQuietly("a.0");
  const std::string listing =
      " -> water_surface\n -> water_depth\n -> bottom_elevation\n -> spec_discharge\n -> delta_z\n"
      " -> flow_velocity\n -> flow_velocity_abs\n -> \n";
  EXPECT_EQ(refusalOf(*model, "theta"),
            " -> output <theta> cannot be defined within the this model setup, valid are:\n" + listing);
  EXPECT_EQ(refusalOf(*model, "velocity"),
            " -> output <velocity> cannot be defined within the this model setup, valid are:\n" + listing);
  EXPECT_TRUE(model->getOutputs().empty());
}

TEST(ModelOutputs, MarkedOutputIsNeverRequestable) {
  const auto model = composeQuietly("a.17");
  const std::string refusal = refusalOf(*model, "flood_tracking");
  EXPECT_EQ(refusal.substr(0, refusal.find('\n') + 1),
            " -> output <flood_tracking> cannot be defined within the this model setup, valid are:\n");
  EXPECT_EQ(refusal.find(" -> flood_tracking\n"), std::string::npos);
  EXPECT_NE(refusal.find(" -> friction_chezy\n"), std::string::npos);
}

TEST(ModelOutputs, RequiredOutputIsMadeWithoutBeingListed) {
  const auto model = composeQuietly("a.17");
  model->defineOutputs({"water_depth"});
  const std::vector<OutputID> listed = model->getOutputs();
  EXPECT_EQ(model->requireOutput("flow_velocity"), flow_velocity);
  EXPECT_EQ(model->getOutput(flow_velocity)->getNrDataFunctions(), 2);
  EXPECT_EQ(model->requireOutput("water_depth"), water_depth);
  // The setup's marked output is held already, so it may be required although
  // it can never be defined.
  EXPECT_EQ(model->requireOutput("flood_tracking"), flood_tracking);
  EXPECT_EQ(model->getOutputs(), listed);
  EXPECT_EQ(failureText([&] { model->requireOutput("theta"); }).substr(0, 70),
            " -> output <theta> cannot be defined within the this model setup, vali");
}

TEST(ModelOutputs, ValidOutputsFollowTheCatalogueOrder) {
  const auto model = composeQuietly("a.0");
  EXPECT_EQ(model->getValidOutputs(), (std::vector<OutputID>{water_surface, water_depth, bottom_elevation,
                                                             spec_discharge, delta_z, flow_velocity,
                                                             flow_velocity_abs}));
}

TEST(ModelOutputs, NodestringOutputsNeedTheNodestringSet) {
  const auto model = composeQuietly("a.3");
  model->defineOutputs({"ns_hyd_discharge"});
  EXPECT_EQ(model->getOutput(ns_hyd_discharge)->getPath(), "NodeStrg/ns_hyd_discharge");
  EXPECT_EQ(model->getOutput(ns_hyd_discharge)->getDataColumns(), (std::vector<DataColumn>{{data_StateVar, 1}}));
}

TEST(ModelOutputs, ConfiguringAnAbsentOutputFails) {
  Model model(std::vector<AggregateID>{hydraulics_aggr}, false);
  model.build();
  EXPECT_EQ(failureText([&] { model.configureOutput(water_depth); }),
            checkLine("output <1> not existing", "Model.cpp"));
}
