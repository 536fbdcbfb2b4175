#pragma once
// Broken results files, each made from a valid one by one change, for the
// tests that feed the binary hostile input.

#include <string>

namespace testing_support {

// Flips one byte of the length that the file's global heap stores for the
// archived model text (.config/model), so that the library's read of the text
// copies far beyond its heap and crashes.
void corruptArchivedModelText(const std::string& fileName);

}  // namespace testing_support
