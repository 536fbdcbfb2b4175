#pragma once
// Broken results files, each made from a valid one by one change, for the
// tests that feed the binary hostile input. The builders change the file in
// place with the HDF5 C library (or as bytes), so that they do not depend on
// the code under test.

#include <string>
#include <vector>

namespace testing_support {

// The valid file: a morphology run on a strip of 8 triangles over 10 nodes,
// HydState and BottomEl stored at 0, 10 and 20 s (steps 0 to 2), and the
// minimum water depth; the simulation wrote `outputs`.
constexpr int validCells = 8;
constexpr int validNodes = 10;
std::vector<std::string> validOutputs();
void writeValidResults(const std::string& fileName, const std::vector<std::string>& outputs = validOutputs());

// The mesh.
void setTopologySize(const std::string& fileName, int size);
void removeTopologySize(const std::string& fileName);
void topologyWithFourColumns(const std::string& fileName);
void topologyNodeNumber(const std::string& fileName, int node);  // the last node of the last cell
void floatTopology(const std::string& fileName);
void coordinatesWithTwoColumns(const std::string& fileName);
void stringTopologySize(const std::string& fileName);

// The stored steps.
void hydStateStepWithRows(const std::string& fileName, int rows);
void hydStateStepWithFourColumns(const std::string& fileName);
void stringStepTime(const std::string& fileName);
void arrayStepTime(const std::string& fileName);  // t = {10, 10, 10}
// The last HydState step as a group, a link to another file, or under another name.
void lastHydStateStepAsGroup(const std::string& fileName);
void lastHydStateStepAsExternalLink(const std::string& fileName);
void lastHydStateStepRenamed(const std::string& fileName, const std::string& name);
// The archived model as numbers instead of text.
void archivedModelAsNumbers(const std::string& fileName);

// Parameters/MinWaterDepth.
void replaceMinWaterDepth(const std::string& fileName, double depth);
void replaceMinWaterDepthWithText(const std::string& fileName, const std::string& text);

// Groups: "RESULTS", ".config", "NodesAll", ...
void removeGroup(const std::string& fileName, const std::string& path);

// The archived model text.
void replaceArchivedModelText(const std::string& fileName, const std::string& text);
// An archived model text that declares `count` strings and holds none, as a
// damaged dataspace declares them.
void archivedModelTextsNeverWritten(const std::string& fileName, unsigned long long count);
// Flips one byte of the length that the file's global heap stores for the
// archived model text (a text that begins {"SETUP"), so that the library's
// read of the text copies far beyond its heap and crashes.
void corruptArchivedModelText(const std::string& fileName);

// Damage as bytes.
void truncateFile(const std::string& fileName, std::size_t keptBytes);
// Overwrites every byte after the superblock of version 0 (the first 96
// bytes) with bytes of a fixed pseudo-random sequence.
void randomBytesAfterSuperblock(const std::string& fileName, unsigned seed);

}  // namespace testing_support
