#pragma once
// The command-file reader as the other areas open it, without the JSON
// library's headers.

#include <string>

#include "interfaces/ICommandFileReader.hpp"

// The source is JSON text, or else the path of a file holding it. Owning
// pointer; the caller deletes it through the interface.
api::ICommandFileReader* createCommandFileReader(const std::string& source);
