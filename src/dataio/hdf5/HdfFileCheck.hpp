#pragma once
// What a file named as HDF5 input is, told before the library opens it: the
// library's own words for a folder, an empty file, a text or a file cut short
// by an interrupted copy are an error stack about "file accessibility" that
// names none of these.

#include <string>

namespace dataio {

// One line naming the file and what it is instead of a readable HDF5 file: a
// name that leads nowhere, a loop of links, a folder, a special file, no
// HDF5 signature, or fewer bytes than its superblock declares. Other damage
// is left to the library's reads.
void requireReadableHdfFile(const std::string& fileName);

}  // namespace dataio
