#pragma once
// The elements that both document forms write the same way: plain HDF data
// items declaring their dataset's shape, and the time of a step.

#include <string>

#include "dataio/xdmf/TimeNotation.hpp"
#include "dataio/xdmf/XdmfTagBuilder.hpp"

namespace dataio {

// The dataset's own shape, rows first; source is file + ":" + dataset path.
// <DataItem ItemType="Uniform" Dimensions="8 3" Format="HDF" NumberType="Int">
//     run.h5:/CellsAll/Topology
// </DataItem>
void addIntItem(XdmfTagBuilder& builder, int rows, int columns, const std::string& source);
// Doubles are declared as such: read as 32-bit floats, georeferenced
// coordinates would snap to a grid of a quarter metre.
// <DataItem ItemType="Uniform" Dimensions="8 1" Format="HDF" NumberType="Float" Precision="8">
void addDoubleItem(XdmfTagBuilder& builder, int rows, int columns, const std::string& source);

// file + ":" + the dataset's path from the root, the one form that every
// reader resolves (meshio takes no other): out_aux.h5:/water_depth/3.
std::string rootedSource(const std::string& fileName, const std::string& datasetPath);

// The time in the document's notation, in the name and the value:
// <Time TimeType="Single" Name="time = 12.500000" Value="12.500000">
// </Time>
void addTime(XdmfTagBuilder& builder, double time, TimeNotation notation = TimeNotation::fixed);

}  // namespace dataio
