#pragma once
// Broken results files, each a valid one changed in place with the HDF5 C
// library or as bytes, independent of the code under test.

#include <string>
#include <vector>

namespace testing_support {

// The valid file: a morphology run on a strip of 8 triangles over 10 nodes,
// HydState and BottomEl stored at 0, 10 and 20 s (steps 0 to 2), and the
// minimum water depth; the simulation wrote water_surface, water_depth,
// flow_velocity and bottom_elevation.
constexpr int validCells = 8;
void writeValidResults(const std::string& fileName);

// The last HydState step (0000002) with `rows` rows of `columns` values.
void replaceLastHydStateStep(const std::string& fileName, int rows, int columns);

// An archived model text that declares `count` strings and holds none, as a
// damaged dataspace declares them.
void archivedModelTextsNeverWritten(const std::string& fileName, unsigned long long count);
// Flips one byte of the length that the file's global heap stores for the
// archived model text (a text that begins {"SETUP"), so that the library's
// read of the text copies far beyond its heap and crashes.
void corruptArchivedModelText(const std::string& fileName);
// Overwrites every byte after the superblock of version 0 (the first 96
// bytes) with bytes of a fixed pseudo-random sequence.
void randomBytesAfterSuperblock(const std::string& fileName, unsigned seed);

}  // namespace testing_support
