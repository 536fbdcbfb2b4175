#pragma once
// The pieces of a model definition text.

#include <string>
#include <vector>

namespace model {

// Split the way strtok does: runs of points separate, empty pieces are dropped.
std::vector<std::string> splitAtPoints(const std::string& text);

// Only the file name is split, so points in folder names (runs.old/result.h5)
// do not count; the folder stays in front of the first piece.
std::vector<std::string> definitionPieces(const std::string& definition);

bool isDigitString(const std::string& text);

}  // namespace model
