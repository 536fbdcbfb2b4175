#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/catalogue/Catalogue.hpp"
#include "model/outputs/OutputDefinitions.hpp"

using namespace model;

namespace {

template <typename ID>
std::set<std::string> namesOf(const PropsTable<ID>& table) {
  std::set<std::string> names;
  for (const auto& entry : table) names.insert(entry.second.name);
  return names;
}

template <typename ID>
std::vector<int> keysOf(const std::map<ID, Props>& table) {
  std::vector<int> keys;
  for (const auto& entry : table) keys.push_back(entry.first);
  return keys;
}

// The lowest identifier whose data carries the name.
int firstDataNamed(const std::string& name) {
  for (const auto& entry : DataProps) {
    if (entry.second.name == name) return entry.first;
  }
  return -1;
}

}  // namespace

TEST(CatalogueTables, ParametersHaveGapsAtTwentyThreeAndBetweenTracerValues) {
  std::vector<int> expected;
  for (int id = 0; id <= 37; ++id) {
    if (id != 23) expected.push_back(id);
  }
  for (int id : {42, 47, 52, 57, 58}) expected.push_back(id);
  EXPECT_EQ(keysOf(ParameterProps), expected);
  EXPECT_EQ(ParameterProps.size(), 42u);
  EXPECT_EQ(ParameterDescription.size(), 42u);
  EXPECT_EQ(ParameterProps.count(static_cast<ParameterID>(23)), 0u);
  EXPECT_EQ(ParameterProps.count(static_cast<ParameterID>(38)), 0u);
  for (ParameterID perTracer : {TracerDensity, TracerDiffusiv, TracerDispersL, TracerDispersT}) {
    EXPECT_EQ(ParameterProps.at(perTracer).size, 5);
  }
  EXPECT_EQ(ParameterProps.at(BedloadInts).size, 2);
  EXPECT_EQ(ParameterProps.at(BedloadInts).type, typeInt);
}

TEST(CatalogueTables, DescriptionsCoverExactlyThePropertyRecords) {
  EXPECT_EQ(keysOf(AggregateProps).size(), AggregateDescription.size());
  EXPECT_EQ(KernelDescription.size(), KernelProps.size());
  EXPECT_EQ(SetDescription.size(), SetProps.size());
  EXPECT_EQ(DataDescription.size(), DataProps.size());
  EXPECT_EQ(MapDescription.size(), MapProps.size());
  EXPECT_EQ(OutputDescription.size(), OutputProps.size());
  for (const auto& entry : ParameterProps) EXPECT_EQ(ParameterDescription.count(entry.first), 1u);
}

TEST(CatalogueTables, NamesAreUniqueWhereTheyIdentify) {
  EXPECT_EQ(namesOf(AggregateProps).size(), AggregateProps.size());
  EXPECT_EQ(namesOf(KernelProps).size(), KernelProps.size());
  EXPECT_EQ(namesOf(SetProps).size(), SetProps.size());
  EXPECT_EQ(namesOf(ParameterProps).size(), ParameterProps.size());
  EXPECT_EQ(namesOf(OutputProps).size(), OutputProps.size());
  EXPECT_LT(namesOf(DataProps).size(), DataProps.size());
}

TEST(CatalogueTables, RepeatedDataNamesMeetTheLowestIdentifierFirst) {
  EXPECT_EQ(firstDataNamed("SinkType"), 36);
  EXPECT_EQ(firstDataNamed("NumValue"), 45);
  EXPECT_EQ(firstDataNamed("KeyPostn"), 49);
  EXPECT_EQ(firstDataNamed("ModfInfo"), 51);
  EXPECT_EQ(firstDataNamed("ListSize"), 40);
  EXPECT_EQ(firstDataNamed("GeomArea"), 18);
  EXPECT_EQ(firstDataNamed("EdgeSign"), 19);
  EXPECT_EQ(firstDataNamed("Coordnts"), 0);
  EXPECT_EQ(DataProps.at(data_Coordnts_Cells).size, 2);
}

TEST(CatalogueTables, MapsAreNamedAfterTheirTargetSet) {
  int cellsAll = 0;
  for (const auto& entry : Map2Sets) {
    const std::string& name = MapProps.at(entry.first).name;
    if (name == "CellsAll") ++cellsAll;
    // ClRegion and NbrCells name their targets in their own words.
    if (name == "ClRegion" || name == "NbrCells") continue;
    EXPECT_EQ(name, SetProps.at(entry.second.second).name) << "map " << entry.first;
  }
  EXPECT_EQ(cellsAll, 14);
}

TEST(CatalogueTables, EveryKernelRunsOnASetAndUsesData) {
  for (const auto& kernel : KernelProps) {
    ASSERT_EQ(Kernel2Set.count(kernel.first), 1u) << kernel.second.name;
    EXPECT_EQ(SetProps.count(Kernel2Set.at(kernel.first)), 1u);
    ASSERT_EQ(Kernel2Data.count(kernel.first), 1u) << kernel.second.name;
    EXPECT_FALSE(Kernel2Data.at(kernel.first).empty());
    EXPECT_EQ(kernel.second.size, 3);
    EXPECT_EQ(kernel.second.type, 2);
  }
}

TEST(CatalogueTables, KernelRelationsNameCatalogueEntries) {
  for (const auto& entry : Kernel2Data) {
    for (DataID id : entry.second) EXPECT_EQ(Data2Set.count(id), 1u);
  }
  for (const auto& entry : Kernel2Maps) {
    for (MapID id : entry.second) EXPECT_EQ(Map2Sets.count(id), 1u);
  }
  for (const auto& entry : Kernel2Parameters) {
    for (ParameterID id : entry.second) EXPECT_EQ(ParameterProps.count(id), 1u);
  }
  for (const auto& entry : Aggregate2Kernels) {
    for (KernelID id : entry.second) EXPECT_EQ(KernelProps.count(id), 1u);
  }
}

// The state data of a kernel are among its data.
TEST(CatalogueTables, StateDataBelongToTheirKernel) {
  ASSERT_EQ(Kernel2StateData.size(), 3u);
  for (const auto& entry : Kernel2StateData) {
    EXPECT_TRUE(isListed(Kernel2Data.at(entry.first), entry.second)) << entry.first;
  }
}

// The extra data handed to a kernel are meant to be a subset of its data; the
// catalogue keeps that for all but five kernels, which get data they do not list.
TEST(CatalogueTables, ExtraDataOutsideTheDataListOnlyForFiveKernels) {
  std::vector<int> outside;
  for (const auto& entry : Kernel2ExtraData) {
    for (DataID id : entry.second) {
      EXPECT_EQ(DataProps.count(id), 1u);
      if (!isListed(Kernel2Data.at(entry.first), id) && !isListed(outside, static_cast<int>(entry.first))) {
        outside.push_back(entry.first);
      }
    }
  }
  EXPECT_EQ(outside, (std::vector<int>{NodeStringStateCalc, HydBoundaryFluxes, MorBoundaryFluxes,
                                       MorBedloadTransport, Update}));
  EXPECT_EQ(Kernel2ExtraData.size(), 11u);
}

TEST(CatalogueTables, AggregatesNeedOneOrTwoInputPaths) {
  for (const auto& entry : AggregatePaths) {
    EXPECT_GE(entry.second.size(), 1u);
    EXPECT_LE(entry.second.size(), 2u);
    for (const std::string& path : entry.second) EXPECT_EQ(path.rfind("SETUP/DOMAIN/VELDRIX_2D/", 0), 0u);
  }
  EXPECT_EQ(AggregatePaths.at(mor_shields_aggr),
            (std::vector<std::string>{"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY",
                                      "SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS/FRICTION"}));
  // Kernels in the catalogue's order, not sorted.
  EXPECT_EQ(Aggregate2Kernels.at(mor_local_bed_slope), (std::vector<KernelID>{LocalBedSlope, CalcBedGradient}));
}

TEST(CatalogueTables, FlagListsHoldTheirEntriesInOrder) {
  ASSERT_EQ(ComputedData.size(), 17u);
  EXPECT_EQ(ComputedData.front(), data_IsWetted);
  EXPECT_EQ(ComputedData.back(), data_FloodVar);
  EXPECT_EQ(StaticData, (std::vector<DataID>{data_Topology, data_Coordnts_Nodes, data_StrNames}));
  EXPECT_EQ(ComputedParameters, (std::vector<ParameterID>{InvGravity, InvBedPorosity, SedRelDensity}));
  EXPECT_EQ(MarkedOutputs, (std::vector<OutputID>{flood_tracking}));
}

TEST(CatalogueDescriptions, TextsKeepTheirRunsOfBlanks) {
  EXPECT_EQ(AggregateDescription.at(hydraulics_aggr),
            "This Aggregate is the basis and is required for all simulations. A circular dam break simulation "
            "is possible,        invoking DT calculation, flux calculation of type 'WALL' and 'SWE', and cell "
            "update.");
  EXPECT_EQ(AggregateDescription.at(mor_gravtrsp_aggr),
            "This Aggregate is used to account for gravitational  transport, e.g. bank collapse.");
  EXPECT_EQ(KernelDescription.at(TimeStepCalculation),
            "This kernel finds the smallest integration timestep that satisfies the stability condition (CFL "
            "condition) for         explicit schemes.");
  EXPECT_EQ(MapDescription.at(map_EdgesSWE_EdgesAll),
            "Map from internal (SWE) edges  to the entire edge set (ALL) (1 -> 1).");
  EXPECT_EQ(DataDescription.at(data_NewBedEl),
            "New temporary bed elevation due to the pseudo-update used for the fixed bed correction approach "
            "[m]. ");
  EXPECT_EQ(OutputDescription.at(flood_tracking),
            "These are the tracked flood variables, i.e. flood arrival time,         max water depth, max flow "
            "velocity, max specific discharge, max. bed shear stress.");
  EXPECT_EQ(ParameterDescription.at(InvBedPorosity), "defined as: 1/(1- BedPorosity) [-].");
  EXPECT_EQ(SetDescription.at(set_CellsFix),
            "Set of all computational cells with fixed bed elevation defined (subset of CELLSALL).");
  EXPECT_EQ(DataDescription.at(data_MSedSize), "Median sediment size of the cell [m]");
  EXPECT_EQ(KernelDescription.at(TrcDiffTensors), "This kernel computes the local dispersion-diffusion tensors");
}

TEST(CatalogueDescriptions, DuplicatedParameterRowsLeaveOneEntry) {
  EXPECT_EQ(ParameterProps.at(SedRelDensity).name, "SedRelDensity");
  EXPECT_EQ(ParameterDescription.at(FixBedAccuracy),
            "Accuracy for fix bed correction definig the maximal overshoot below the fix bed elevation [m].");
}

