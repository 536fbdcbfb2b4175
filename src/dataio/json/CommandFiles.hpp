#pragma once
// The command-file reader as the other areas open it, without the JSON
// library's headers.

#include <string>

#include "interfaces/ICommandFileReader.hpp"

// The source is JSON text, or else the path of a file holding it. Owning
// pointer; the caller deletes it through the interface.
api::ICommandFileReader* createCommandFileReader(const std::string& source);

// JSON text only, as a results file archives it: text that is not JSON is
// refused in one line (what it is, then its first 200 characters, escaped),
// never opened as a path.
api::ICommandFileReader* createCommandTextReader(const std::string& text, const std::string& what);
