#include <gtest/gtest.h>

#include "model/compose/Factory.hpp"
#include "model/compose/ModelDefinition.hpp"
#include "support/ModelTestSupport.hpp"

using namespace model;
using model_testing::checkLine;
using model_testing::failureText;
using model_testing::StreamCapture;

namespace {

std::string progressOf(const std::string& definition) {
  StreamCapture progress(std::cout);
  std::unique_ptr<api::IModel> composed(compose(definition));
  return progress.text();
}

std::string refusal(const std::string& definition) {
  return failureText([&] { std::unique_ptr<api::IModel> composed(compose(definition)); });
}

}  // namespace

TEST(EntityFactories, PropertyGapsFailWithTheKindWord) {
  EXPECT_EQ(failureText([] { createAggregate(static_cast<AggregateID>(18)); }),
            checkLine("aggregate property definition not found (id = 18)", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createSet(static_cast<SetID>(25)); }),
            checkLine("set property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createKernel(static_cast<KernelID>(39), nullptr); }),
            checkLine("kernel property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createMap(static_cast<MapID>(46), nullptr, nullptr); }),
            checkLine("map property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createData(static_cast<DataID>(54), nullptr, false); }),
            checkLine("data property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createParameter(static_cast<ParameterID>(23)); }),
            checkLine("parameter property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createParameter(static_cast<ParameterID>(41)); }),
            checkLine("parameter property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createVariable(static_cast<VariableID>(0)); }),
            checkLine("variable property definition not found", "compose/Factory.cpp"));
  EXPECT_EQ(failureText([] { createOutput(static_cast<OutputID>(25), nullptr); }),
            checkLine("output property definition not found", "compose/Factory.cpp"));
}

TEST(EntityFactories, EntitiesCarryTheirRecords) {
  const auto set = createSet(set_NodeStrg);
  const auto map = createMap(map_NodeStrg_EdgesAll, set.get(), nullptr);
  EXPECT_EQ(map->getName(), "EdgesAll");
  EXPECT_EQ(map->getSize(), 200);
  EXPECT_EQ(map->getSet(), set.get());
  EXPECT_EQ(map->getTargetSet(), nullptr);
  EXPECT_EQ(map->getID(), map_NodeStrg_EdgesAll);
  EXPECT_EQ(createData(data_Coordnts_Cells, set.get(), false)->getSize(), 2);
  EXPECT_EQ(createAggregate(tracers_aggr)->getDescription(),
            "This Aggregate is the basis for tracer transport simulations.");
  EXPECT_EQ(createAggregate(tracers_aggr)->getSize(), 0);
}

TEST(DefinitionPieces, SplitLikeStrtok) {
  EXPECT_EQ(splitAtPoints("a..3."), (std::vector<std::string>{"a", "3"}));
  EXPECT_TRUE(splitAtPoints("...").empty());
  EXPECT_TRUE(splitAtPoints("").empty());
  EXPECT_EQ(splitAtPoints("setup.model.json").size(), 3u);
}

TEST(DefinitionPieces, PointsInFoldersDoNotSplit) {
  EXPECT_EQ(definitionPieces("runs.old/result.h5"), (std::vector<std::string>{"runs.old/result", "h5"}));
  EXPECT_EQ(definitionPieces("/data/v1.2/run.h5"), (std::vector<std::string>{"/data/v1.2/run", "h5"}));
  EXPECT_EQ(definitionPieces("../result.h5"), (std::vector<std::string>{"../result", "h5"}));
  EXPECT_EQ(definitionPieces("x/a.3"), (std::vector<std::string>{"x/a", "3"}));
  EXPECT_TRUE(definitionPieces("dir/").empty());
  EXPECT_TRUE(definitionPieces("v1.2/.").empty());
}

TEST(Compose, ProgressLineNamesTheForm) {
  EXPECT_EQ(progressOf(""), " -> composing the full model\n");
  EXPECT_EQ(progressOf(".."), " -> composing the full model\n");
  EXPECT_EQ(progressOf("a.3"), " -> composing the model for aggregate <3>\n");
  EXPECT_EQ(progressOf("a.007"), " -> composing the model for aggregate <7>\n");
  EXPECT_EQ(progressOf("k.21"), " -> composing the model for kernel <21>\n");
}

TEST(Compose, OtherShapesAreNoDefinition) {
  const std::string none = " -> no model definition found\n";
  for (const char* definition : {"setup.model.json", "json", "a.x3", "a.-1", "b.3", "a.3.4", "k.", "x/a.3",
                                 "dir/", "v1.2/", "result.h6"}) {
    EXPECT_EQ(refusal(definition), none) << definition;
  }
}

TEST(Compose, UnknownAggregateOrKernelIsNotDefined) {
  EXPECT_EQ(refusal("a.18"), checkLine("aggregate <18> not defined", "Model.cpp"));
  EXPECT_EQ(refusal("a.42"), checkLine("aggregate <42> not defined", "Model.cpp"));
  EXPECT_EQ(refusal("k.39"), checkLine("kernel <39> not defined", "Model.cpp"));
}

TEST(Compose, NumberBeyondIntegerRangeThrowsOutOfRange) {
  StreamCapture progress(std::cout);
  EXPECT_THROW(compose("a.99999999999"), std::out_of_range);
}
