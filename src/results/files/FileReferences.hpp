#pragma once
// File names as a document must write them: a viewer resolves the names in a
// document relative to the document's own folder, not the working folder.

#include <string>

namespace results {

// The folder part of a file name ("" for a name without a folder).
std::string folderOf(const std::string& fileName);

// fileName as seen from documentFolder: unchanged when it is absolute or when
// the document lies in the working folder, otherwise relative to the folder.
std::string referenceFrom(const std::string& documentFolder, const std::string& fileName);

// The output name up to the first '.' of its file-name part.
std::string outputStem(const std::string& outputFile);

// True when both names designate one existing file (hard or symbolic links
// included).
bool sameExistingFile(const std::string& first, const std::string& second);

}  // namespace results
