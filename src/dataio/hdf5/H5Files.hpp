#pragma once
// The HDF5 files of a run, opened through their interfaces: the areas above
// see no part of the HDF5 layer. Owning pointers; the caller deletes them
// through the interface.

#include <string>

#include "interfaces/IH5Writer.hpp"
#include "interfaces/IResultReader.hpp"

namespace dataio {

// Read-only.
api::IH5Reader* createH5Reader(const std::string& fileName);
api::IResultReader* createResultReader(const std::string& fileName);
// Created, or emptied when it exists.
api::IH5Writer* createH5Writer(const std::string& fileName);

}  // namespace dataio
