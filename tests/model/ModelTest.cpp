// The catalogue's invariants, its entity factories, the composition of models and the models themselves.

#include <gtest/gtest.h>
#include <hdf5.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "model/Model.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "model/compose/Factory.hpp"
#include "model/outputs/OutputDefinitions.hpp"
#include "support/BinaryRun.hpp"
#include "support/H5TestFile.hpp"
#include "support/ModelTestSupport.hpp"
#include "support/TempDir.hpp"

using namespace model;
using namespace model_testing;

namespace {

template <typename ID>
std::vector<int> numbers(const std::vector<ID>& ids) {
  return std::vector<int>(ids.begin(), ids.end());
}

// The relation's lists over the keys, once each in ascending order.
template <typename Key, typename Value>
std::vector<int> unionOf(const std::map<Key, std::vector<Value>>& relation, const std::vector<Key>& keys) {
  std::set<int> all;
  for (Key key : keys)
    if (relation.count(key)) all.insert(relation.at(key).begin(), relation.at(key).end());
  return std::vector<int>(all.begin(), all.end());
}

template <typename ID>
void expectDescribedAndNamedOnce(const PropsTable<ID>& props, const DescriptionTable<ID>& descriptions,
                                 bool uniqueNames = true) {
  std::set<std::string> names;
  for (const auto& entry : props) {
    EXPECT_EQ(descriptions.count(entry.first), 1u) << entry.second.name;
    names.insert(entry.second.name);
  }
  EXPECT_EQ(descriptions.size(), props.size());
  EXPECT_TRUE(!uniqueNames || names.size() == props.size());
}

const std::string refusedTheta = " -> output <theta> cannot be defined within the this model setup, valid are:\n";

struct Composed {
  std::unique_ptr<api::IModel> model;
  std::string progress;
};

Composed composeCapturing(const std::string& definition) {
  StreamCapture progress(std::cout);
  std::unique_ptr<api::IModel> model(compose(definition));
  return {std::move(model), progress.text()};
}

std::string refusal(const std::string& definition) {
  return failureText([&] { std::unique_ptr<api::IModel> composed(compose(definition)); });
}

const std::string withFriction = R"({"HYDRAULICS": {"FRICTION": {"TYPE": "MANNING"}}})";

std::string setupText(const std::string& domain) { return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": )" + domain + "}}}"; }

class Entities : public testing::Test {
 protected:
  std::unique_ptr<api::ISet> cells = createSet(set_CellsAll);
  std::unique_ptr<api::ISet> edges = createSet(set_EdgesAll);
};

class ComposeSource : public testing::Test {
 protected:
  std::string inputFile(const std::string& domain) {
    testing_support::writeFile(folder.file("setup.json"), setupText(domain));
    return folder.file("setup.json");
  }
  testing_support::TempDir folder;
};

}  // namespace

// Data names repeat on different sets; every other kind is found by its name.
TEST(CatalogueTables, EveryRecordIsDescribedAndNamedOnce) {
  expectDescribedAndNamedOnce(AggregateProps, AggregateDescription);
  expectDescribedAndNamedOnce(KernelProps, KernelDescription);
  expectDescribedAndNamedOnce(SetProps, SetDescription);
  expectDescribedAndNamedOnce(MapProps, MapDescription, false);
  expectDescribedAndNamedOnce(ParameterProps, ParameterDescription);
  expectDescribedAndNamedOnce(OutputProps, OutputDescription);
  expectDescribedAndNamedOnce(DataProps, DataDescription, false);
}

// What composing cannot show: state data are among their kernel's data, computed data are never static,
// an aggregate has one or two setup paths, a map is named after its target set (but ClRegion and NbrCells).
TEST(CatalogueTables, RelationsKeepTheirInvariants) {
  for (const auto& entry : Kernel2StateData)
    EXPECT_TRUE(isListed(Kernel2Data.at(entry.first), entry.second)) << entry.first;
  for (DataID id : ComputedData) EXPECT_FALSE(isListed(StaticData, id)) << id;
  for (const auto& entry : AggregatePaths) {
    EXPECT_TRUE(entry.second.size() == 1 || entry.second.size() == 2) << entry.first;
    for (const std::string& path : entry.second) EXPECT_EQ(path.rfind("SETUP/DOMAIN/VELDRIX_2D/", 0), 0u);
  }
  for (const auto& entry : Map2Sets) {
    const std::string& name = MapProps.at(entry.first).name;
    if (name == "ClRegion" || name == "NbrCells") continue;
    EXPECT_EQ(name, SetProps.at(entry.second.second).name) << "map " << entry.first;
  }
}

// Only flood_tracking's aggregate brings a marked output.
TEST(ModelClosure, AggregateModelsHoldWhatTheirKernelsUse) {
  for (const auto& [aggregate, kernels] : Aggregate2Kernels) {
    SCOPED_TRACE(AggregateProps.at(aggregate).name);
    const auto model = composeQuietly("a." + std::to_string(aggregate));
    EXPECT_EQ(numbers(model->getAggregates()), std::vector<int>{aggregate});
    EXPECT_EQ(numbers(model->getKernels()), unionOf(Aggregate2Kernels, {aggregate}));
    EXPECT_EQ(numbers(model->getData()), unionOf(Kernel2Data, model->getKernels()));
    EXPECT_EQ(numbers(model->getParameters()), unionOf(Kernel2Parameters, model->getKernels()));
    for (KernelID kernel : model->getKernels()) EXPECT_TRUE(isListed(model->getSets(), Kernel2Set.at(kernel)));
    EXPECT_EQ(model->getOutputs().empty(), aggregate != hyd_flood_aggr);
  }
}

// No kernel uses the maps to regions or the tracer-source maps; RefBottomEl and FluidViscosity serve none.
TEST(ModelClosure, FullModelHoldsStaticDataAndTheirSets) {
  const auto model = composeQuietly("");
  const std::set<int> unusedMaps = {5, 40, 43, 44, 45};
  std::vector<int> maps;
  for (const auto& entry : MapProps)
    if (unusedMaps.count(entry.first) == 0) maps.push_back(entry.first);
  EXPECT_EQ(numbers(model->getMaps()), maps);
  std::vector<int> parameters;
  for (const auto& entry : ParameterProps)
    if (entry.first != RefBottomEl && entry.first != FluidViscosity) parameters.push_back(entry.first);
  EXPECT_EQ(numbers(model->getParameters()), parameters);
  EXPECT_EQ(model->getData().size(), DataProps.size());
  EXPECT_EQ(model->getSets().size(), SetProps.size());
}

// The maps and sets include the indirections between a kernel's set and its data's.
TEST(ModelEntities, LookupFailureNamesTheEntityKind) {
  const auto model = composeQuietly("a.0");
  EXPECT_EQ(numbers(model->getMaps()), (std::vector<int>{0, 7, 8, 9, 13, 14}));
  EXPECT_EQ(numbers(model->getSets()), (std::vector<int>{1, 4, 5, 8}));
  EXPECT_EQ(numbers(composeQuietly("k.21")->getSets()), (std::vector<int>{1, 4, 8}));
  EXPECT_TRUE(model->getData(data_HydState)->isState());
  EXPECT_EQ(model->getKernel(Update)->getExtraData(), std::vector<DataID>{data_FluxesMo});
  EXPECT_EQ(model->getMap(map_EdgesAll_CellsAll)->getTargetSet(), model->getSet(set_CellsAll));
  EXPECT_EQ(model->getParameterBase(MinWaterDepth)->getPath(), "Parameters/MinWaterDepth");
  const std::pair<std::function<void()>, const char*> absent[] = {
      {[&] { model->getSet(set_NodeStrg); }, "set <14> not found"},
      {[&] { model->getDataBase(data_TrcState); }, "data <15> not found"},
      {[&] { model->getOutput(water_depth); }, "output <1> not found"},
      {[&] { model->getParameter(RefBottomEl); }, "parameter <0> not found"},
      {[&] { model->getVariable(static_cast<VariableID>(0)); }, "variable <0> not found"},
      {[&] { model->getAggregateBase(hyd_flood_aggr); }, "aggregate <17> not found"},
      {[&] { model->getKernel(HydFlood); }, "kernel <35> not found"},
      {[&] { model->getMap(map_NodeStrg_EdgesAll); }, "map <28> not found"},
  };
  for (const auto& [lookup, message] : absent) EXPECT_EQ(failureText(lookup), checkLine(message, "Model.cpp"));
}

TEST(ModelEntities, GetOrCreateLeavesTheModelsListsAlone) {
  const auto model = composeQuietly("a.13");
  api::IBase* map = model->getOrCreateMap(map_NodeStrg_EdgesAll);
  EXPECT_EQ(map->getPath(), "NodeStrg/EdgesAll");
  EXPECT_EQ(model->getOrCreateMap(map_NodeStrg_EdgesAll), map);
  EXPECT_EQ(model->getOrCreateData(data_StateVar)->getPath(), "NodeStrg/StateVar");
  EXPECT_EQ(model->getOrCreateKernel(HydFlood)->getPath(), "CellsAll/HydFlood");
  EXPECT_EQ(model->getOrCreateParameter(SafeMode)->getPath(), "Parameters/SafeMode");
  EXPECT_EQ(model->getOrCreateSet(set_CellsAll), static_cast<api::IBase*>(model->getSet(set_CellsAll)));
  EXPECT_EQ(numbers(model->getSets()), (std::vector<int>{1}));
  EXPECT_TRUE(model->getMaps().empty());
  EXPECT_EQ(numbers(model->getData()), unionOf(Kernel2Data, model->getKernels()));
}

// Update brings no TrcState: no tracer output is valid for hydraulics_aggr alone.
TEST(ModelOutputs, OnlyValidOutputsCanBeDefined) {
  const auto model = composeQuietly("a.0");
  const std::string listing =
      " -> water_surface\n -> water_depth\n -> bottom_elevation\n -> spec_discharge\n -> delta_z\n"
      " -> flow_velocity\n -> flow_velocity_abs\n -> \n";
  EXPECT_EQ(failureText([&] { model->defineOutputs({"theta"}); }), refusedTheta + listing);
  EXPECT_TRUE(model->getOutputs().empty());
  model->defineOutputs({"water_depth", "delta_z"});
  EXPECT_EQ(model->getOutputs(), (std::vector<OutputID>{water_depth, delta_z}));
  EXPECT_EQ(model->getOutput(water_depth)->getPath(), "CellsAll/water_depth");
  EXPECT_EQ(model->getOutput(delta_z)->getRepeatedColumns(), std::vector<int>{0});
}

// The setup's marked output is held already: it may be required but never defined.
TEST(ModelOutputs, MarkedOutputIsRequiredButNeverDefined) {
  const auto model = composeQuietly("a.17");
  const std::string refusal = failureText([&] { model->defineOutputs({"flood_tracking"}); });
  EXPECT_EQ(refusal.substr(0, refusal.find('\n') + 1),
            " -> output <flood_tracking> cannot be defined within the this model setup, valid are:\n");
  EXPECT_EQ(refusal.find(" -> flood_tracking\n"), std::string::npos);
  model->defineOutputs({"water_depth"});
  EXPECT_EQ(model->requireOutput("flow_velocity"), flow_velocity);
  EXPECT_EQ(model->requireOutput("water_depth"), water_depth);
  EXPECT_EQ(model->requireOutput("flood_tracking"), flood_tracking);
  EXPECT_EQ(model->getOutputs(), (std::vector<OutputID>{flood_tracking, water_depth}));
  EXPECT_EQ(failureText([&] { model->requireOutput("theta"); }).rfind(refusedTheta, 0), 0u);
  Model bare(std::vector<AggregateID>{hydraulics_aggr}, false);
  bare.build();
  EXPECT_EQ(failureText([&] { bare.configureOutput(water_depth); }), checkLine("output <1> not existing", "Model.cpp"));
}

// One past the last identifier of each kind, and a parameter gap.
TEST(EntityFactories, PropertyGapsFailWithTheKindWord) {
  const std::pair<std::function<void()>, const char*> gaps[] = {
      {[] { createAggregate(static_cast<AggregateID>(18)); }, "aggregate property definition not found (id = 18)"},
      {[] { createSet(static_cast<SetID>(25)); }, "set property definition not found"},
      {[] { createKernel(static_cast<KernelID>(39), nullptr); }, "kernel property definition not found"},
      {[] { createMap(static_cast<MapID>(46), nullptr, nullptr); }, "map property definition not found"},
      {[] { createData(static_cast<DataID>(54), nullptr, false); }, "data property definition not found"},
      {[] { createParameter(static_cast<ParameterID>(41)); }, "parameter property definition not found"},
      {[] { createVariable(static_cast<VariableID>(0)); }, "variable property definition not found"},
      {[] { createOutput(static_cast<OutputID>(25), nullptr); }, "output property definition not found"},
  };
  for (const auto& [create, message] : gaps) EXPECT_EQ(failureText(create), checkLine(message, "compose/Factory.cpp"));
}

// Pieces split like strtok, but points in folders do not split.
TEST(Compose, DefinitionShapeSelectsTheComposition) {
  EXPECT_EQ(composeCapturing("").progress, " -> composing the full model\n");
  EXPECT_EQ(composeCapturing("a.007").progress, " -> composing the model for aggregate <7>\n");
  EXPECT_EQ(composeCapturing("k.21").progress, " -> composing the model for kernel <21>\n");
  EXPECT_EQ(composeCapturing("a..3.").progress, " -> composing the model for aggregate <3>\n");
  for (const char* definition : {"setup.model.json", "json", "a.x3", "b.3", "x/a.3", "v1.2/", "result.h6"})
    EXPECT_EQ(refusal(definition), " -> no model definition found\n") << definition;
  EXPECT_EQ(refusal("a.18"), checkLine("aggregate <18> not defined", "Model.cpp"));
  EXPECT_EQ(refusal("k.39"), checkLine("kernel <39> not defined", "Model.cpp"));
  EXPECT_THROW(composeQuietly("a.99999999999"), std::out_of_range);
}

// Input-file models carry the static data and their sets.
TEST_F(ComposeSource, InputFileSelectsAggregatesWhosePathsAllExist) {
  const Composed friction = composeCapturing(inputFile(withFriction));
  EXPECT_EQ(friction.model->getAggregates(), (std::vector<AggregateID>{hydraulics_aggr, hyd_friction_aggr}));
  for (DataID id : StaticData) {
    EXPECT_TRUE(isListed(friction.model->getData(), id));
    EXPECT_TRUE(isListed(friction.model->getSets(), Data2Set.at(id)));
  }
  const Composed morphology =
      composeCapturing(inputFile(R"({"HYDRAULICS": {"FRICTION": {"TYPE": "MANNING"}}, "MORPHOLOGY": {"D50": 0.01}})"));
  EXPECT_EQ(morphology.progress,
            " -> composing the model from the input file\n -> found aggregate <hydraulics_aggr>\n"
            " -> found aggregate <morphology_aggr>\n -> found aggregate <mor_shields_aggr>\n"
            " -> found aggregate <hyd_friction_aggr>\n");
  EXPECT_EQ(failureText([&] { compose(inputFile(R"({"TURBULENCE": {}})")); }),
            checkLine("no aggregates found...something went wrong with the model definition", "compose/Factory.cpp"));
}

// A point in a folder name, and a path through "..", still name the results file.
TEST_F(ComposeSource, ArchiveIsFoundThroughPointsInItsPath) {
  std::filesystem::create_directory(folder.file("runs.old"));
  const std::string results = folder.file("runs.old/result.h5");
  testing_support::H5TestFile(results).text(".config/model", setupText(withFriction));
  const Composed composed = composeCapturing(results);
  EXPECT_EQ(composed.progress,
            " -> composing the model from archive\n -> found aggregate <hydraulics_aggr>\n"
            " -> found aggregate <hyd_friction_aggr>\n");
  EXPECT_EQ(composed.model->getData(data_ChezyCoe)->getPath(), "CellsAll/ChezyCoe");
  // Composition has let go of the file.
  const hid_t reopened = H5Fopen(results.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  EXPECT_GE(reopened, 0);
  if (reopened >= 0) H5Fclose(reopened);
  std::filesystem::create_directory(folder.file("run"));
  EXPECT_EQ(composeQuietly(folder.file("run/../runs.old/result.h5"))->getAggregates(),
            (std::vector<AggregateID>{hydraulics_aggr, hyd_friction_aggr}));
}

// A set's size counts as 1 until it is known.
TEST_F(Entities, DimensionsFollowTheSetSizes) {
  const std::unique_ptr<api::IData> state = createData(data_HydState, cells.get(), false);
  const std::unique_ptr<api::IMap> map = createMap(map_EdgesAll_CellsAll, edges.get(), cells.get());
  EXPECT_EQ(state->getDimensions(), (std::vector<int>{1, 3}));
  cells->setSize(12);
  edges->setSize(20);
  EXPECT_EQ(state->getDimensions(), (std::vector<int>{12, 3}));
  EXPECT_EQ(map->getDimensions(), (std::vector<int>{20, 2}));
  EXPECT_EQ(createOutput(flow_velocity, cells.get())->getDimensions(), (std::vector<int>{12, 2}));
  EXPECT_EQ(createData(data_Topology, cells.get(), false)->getTypeName(), "int");
  EXPECT_EQ(createData(data_StrNames, cells.get(), false)->getTypeName(), "string");
}

// Data change over time when computed or state data.
TEST_F(Entities, FlagsComeFromTheFlagLists) {
  for (const auto& entry : DataProps) {
    const bool state = entry.first == data_HydState;
    const auto data = createData(entry.first, cells.get(), state);
    EXPECT_EQ(data->isStatic(), isListed(StaticData, entry.first)) << entry.second.name;
    EXPECT_EQ(data->isComputed(), isListed(ComputedData, entry.first)) << entry.second.name;
    EXPECT_EQ(data->isTimeDependent(), state || data->isComputed()) << entry.second.name;
  }
  for (const auto& entry : ParameterProps)
    EXPECT_EQ(createParameter(entry.first)->isComputed(), isListed(ComputedParameters, entry.first));
  for (const auto& entry : OutputProps)
    EXPECT_EQ(createOutput(entry.first, cells.get())->isMarked(), isListed(MarkedOutputs, entry.first));
}

// Position 0 once per later equal column; the data once each, ascending. Failed calls keep the earlier lists.
TEST_F(Entities, SetDataColumnsKeepsOnlyConsistentLists) {
  const auto deltaZ = createOutput(delta_z, cells.get());
  deltaZ->setDataColumns(
      {{data_BottomEl, 0}, {data_HydState, 0}, {data_BottomEl, 0}, {data_BottomEl, 0}, {data_HydState, 0}},
      {{"$0", nullptr}});
  EXPECT_EQ(deltaZ->getRepeatedColumns(), (std::vector<int>{0, 0, 1, 2}));
  EXPECT_EQ(deltaZ->getDataIDs(), (std::vector<DataID>{data_HydState, data_BottomEl}));
  const auto depth = createOutput(water_depth, cells.get());
  depth->setDataColumns(Output2DataColumns.at(water_depth), OutputFunctions.at(water_depth));
  EXPECT_EQ(failureText([&] { depth->setDataColumns(Output2DataColumns.at(water_depth), {}); }),
            checkLine("number of data columns do not match the output size", "entities/Output.cpp"));
  EXPECT_EQ(failureText(
                [&] { depth->setDataColumns(Output2DataColumns.at(water_depth), OutputFunctions.at(flow_velocity)); }),
            checkLine("number of functions must match the output size,", "entities/Output.cpp"));
  EXPECT_EQ(depth->getNrDataFunctions(), 1);
  EXPECT_EQ(depth->getDataColumns().size(), 2u);
}
