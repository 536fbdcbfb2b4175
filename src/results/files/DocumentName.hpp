#pragma once
// The name an export's document is given (-o, or an entry's "document")
// decides where all of the export's files go: their stem is the name up to
// the first '.' of its file-name part. A name without a stem ("", ".",
// ".xdmf") would write hidden files named only by their suffixes, and a name
// under /dev or /proc would write into the system's device and process
// folders (-o /dev/null is no way to discard an export).

#include <string>

namespace results {

// One line naming the document and why it cannot be one; before anything is
// written.
void requireDocumentName(const std::string& documentName);

}  // namespace results
