#include <gtest/gtest.h>

#include "model/catalogue/Catalogue.hpp"
#include "model/compose/Factory.hpp"
#include "model/outputs/OutputDefinitions.hpp"
#include "support/ModelTestSupport.hpp"

using namespace model;
using model_testing::checkLine;
using model_testing::failureText;

namespace {

std::string printed(const api::IBase& entity) {
  testing::internal::CaptureStdout();
  entity.print();
  return testing::internal::GetCapturedStdout();
}

class Entities : public testing::Test {
 protected:
  std::unique_ptr<api::ISet> cells = createSet(set_CellsAll);
  std::unique_ptr<api::ISet> edges = createSet(set_EdgesAll);
};

}  // namespace

TEST_F(Entities, PathsFollowTheirKind) {
  EXPECT_EQ(createParameter(MinWaterDepth)->getPath(), "Parameters/MinWaterDepth");
  EXPECT_EQ(cells->getPath(), "CellsAll/set");
  EXPECT_EQ(createData(data_HydState, cells.get(), false)->getPath(), "CellsAll/HydState");
  EXPECT_EQ(createOutput(water_depth, cells.get())->getPath(), "CellsAll/water_depth");
  EXPECT_EQ(createKernel(HydInternalFluxes, edges.get())->getPath(), "EdgesAll/HydInternalFluxes");
  EXPECT_EQ(createMap(map_EdgesAll_CellsAll, edges.get(), cells.get())->getPath(), "EdgesAll/CellsAll");
  EXPECT_EQ(createAggregate(hyd_flood_aggr)->getPath(), "hyd_flood_aggr");
}

TEST_F(Entities, DataListingShowsSetSizeOnceKnown) {
  const std::unique_ptr<api::IData> state = createData(data_HydState, cells.get(), false);
  EXPECT_EQ(printed(*state), "Data: HydState (dtype=double)\n -> with dimension (1/3)\n");
  cells->setSize(1000);
  EXPECT_EQ(printed(*state), "Data: HydState (dtype=double)\n -> with dimension (1000/3)\n");
  EXPECT_EQ(state->getDimensions(), (std::vector<int>{1000, 3}));
}

TEST_F(Entities, ListingsOfEveryKind) {
  cells->setSize(12);
  edges->setSize(20);
  EXPECT_EQ(printed(*createAggregate(hydraulics_aggr)), "Aggregate: hydraulics_aggr\n");
  EXPECT_EQ(printed(*cells), "Set: CellsAll/set (N=12)\n");
  EXPECT_EQ(printed(*createKernel(Update, cells.get())), "Kernel: Update\n -> on set CellsAll\n");
  EXPECT_EQ(printed(*createMap(map_EdgesAll_CellsAll, edges.get(), cells.get())),
            "Map: CellsAll\n -> with dimension (20/2)\n");
  EXPECT_EQ(printed(*createParameter(TracerDensity)), "Parameter: TracerDensity (dtype=double)\n -> with size 5\n");
  EXPECT_EQ(printed(*createOutput(flow_velocity, cells.get())),
            "Output: flow_velocity (dtype=double)\n -> with dimension (12/2)\n");
  EXPECT_EQ(printed(*createData(data_Topology, cells.get(), false)),
            "Data: Topology (dtype=int)\n -> with dimension (12/3)\n");
}

TEST_F(Entities, FlagsComeFromTheFlagLists) {
  const auto topology = createData(data_Topology, cells.get(), false);
  const auto fluxes = createData(data_FluxesHy, edges.get(), false);
  const auto state = createData(data_HydState, cells.get(), true);
  EXPECT_TRUE(topology->isStatic());
  EXPECT_FALSE(topology->isTimeDependent());
  EXPECT_TRUE(fluxes->isComputed());
  EXPECT_TRUE(fluxes->isTimeDependent());
  EXPECT_TRUE(state->isState());
  EXPECT_TRUE(state->isTimeDependent());
  EXPECT_TRUE(createParameter(InvGravity)->isComputed());
  EXPECT_FALSE(createParameter(InvGravity)->isStatic());
  EXPECT_FALSE(createParameter(Gravity)->isComputed());
  EXPECT_FALSE(createParameter(Gravity)->isTimeDependent());
  EXPECT_TRUE(createOutput(flood_tracking, cells.get())->isMarked());
  EXPECT_FALSE(createOutput(water_depth, cells.get())->isMarked());
  EXPECT_FALSE(createOutput(water_depth, cells.get())->isTimeDependent());
}

TEST_F(Entities, TypeNamesOfTheCodes) {
  EXPECT_EQ(createData(data_StrNames, cells.get(), false)->getTypeName(), "string");
  EXPECT_EQ(createData(data_IsWetted, cells.get(), false)->getTypeName(), "int");
  EXPECT_EQ(createParameter(Gravity)->getTypeName(), "double");
}

TEST_F(Entities, OneBasePartWhateverThePath) {
  const auto output = createOutput(delta_z, cells.get());
  api::IBaseData* asData = output.get();
  api::IBaseSet* asSet = output.get();
  EXPECT_EQ(static_cast<api::IBase*>(asData), static_cast<api::IBase*>(asSet));
  EXPECT_STREQ(output->getNameChars(), "delta_z");
  EXPECT_EQ(output->getDescription(), "This is the change of the bottom elevation in relation to the initial state.");
}

TEST_F(Entities, KernelKeepsItsExtraData) {
  const auto kernel = createKernel(CalcBedGradient, cells.get());
  EXPECT_TRUE(kernel->getExtraData().empty());
  kernel->setExtraData(Kernel2ExtraData.at(CalcBedGradient));
  EXPECT_EQ(kernel->getExtraData(), (std::vector<DataID>{data_Coordnts_Cells, data_NrTrueNb, data_UnitCent,
                                                         data_DistCent}));
  EXPECT_EQ(kernel->getSet(), cells.get());
}

TEST_F(Entities, OutputColumnsAndFunctions) {
  const auto velocity = createOutput(flow_velocity, cells.get());
  velocity->setDataColumns(Output2DataColumns.at(flow_velocity), OutputFunctions.at(flow_velocity));
  EXPECT_EQ(velocity->getDataIDs(), (std::vector<DataID>{data_HydState, data_BottomEl}));
  EXPECT_EQ(velocity->getNrDataFunctions(), 2);
  EXPECT_EQ(velocity->getDataFunction(1).first, "$1/($2-$3)");
  EXPECT_DOUBLE_EQ(velocity->getDataFunction(1).second(0.0, {0.0, 3.0, 2.0, 0.5}), 2.0);
  EXPECT_THROW(velocity->getDataFunction(2), std::out_of_range);
  EXPECT_TRUE(velocity->getRepeatedColumns().empty());
}

TEST_F(Entities, RepeatedColumnsOfDeltaZ) {
  const auto deltaZ = createOutput(delta_z, cells.get());
  deltaZ->setDataColumns(Output2DataColumns.at(delta_z), OutputFunctions.at(delta_z));
  EXPECT_EQ(deltaZ->getRepeatedColumns(), std::vector<int>{0});
  EXPECT_EQ(deltaZ->getDataIDs(), std::vector<DataID>{data_BottomEl});
  // Position 0 once per later equal column, in ascending order.
  deltaZ->setDataColumns({{data_BottomEl, 0}, {data_HydState, 0}, {data_BottomEl, 0}, {data_BottomEl, 0},
                          {data_HydState, 0}},
                         {{"$0", nullptr}});
  EXPECT_EQ(deltaZ->getRepeatedColumns(), (std::vector<int>{0, 0, 1, 2}));
}

TEST_F(Entities, ColumnCountsMustMatchTheOutputSize) {
  const auto depth = createOutput(water_depth, cells.get());
  depth->setDataColumns(Output2DataColumns.at(water_depth), OutputFunctions.at(water_depth));
  EXPECT_EQ(depth->getDataColumns().size(), 2u);
  EXPECT_EQ(failureText([&] { depth->setDataColumns(Output2DataColumns.at(water_depth), {}); }),
            checkLine("number of data columns do not match the output size", "entities/Output.cpp"));
  EXPECT_EQ(failureText([&] {
              depth->setDataColumns(Output2DataColumns.at(water_depth), OutputFunctions.at(flow_velocity));
            }),
            checkLine("number of functions must match the output size,", "entities/Output.cpp"));
  // The failed calls left the earlier lists in place.
  EXPECT_EQ(depth->getNrDataFunctions(), 1);
}
