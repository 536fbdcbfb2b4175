#pragma once
// Pieces that every XDMF document form writes alike: time labels and the
// items that read a whole HDF5 dataset, declared in the dataset's own shape
// (rows first), which is what readers that check shapes accept.

#include <string>

#include "XdmfTagBuilder.hpp"

namespace dataio {

// printf "%f": 12.500000.
std::string xdmfTimeText(double time);

// A rows x columns dataset of doubles, read in double precision.
void addDoubleDataset(XdmfTagBuilder& builder, int rows, int columns, const std::string& reference);
// A rows x columns dataset of 32-bit integers (node numbers).
void addIntDataset(XdmfTagBuilder& builder, int rows, int columns, const std::string& reference);

}  // namespace dataio
