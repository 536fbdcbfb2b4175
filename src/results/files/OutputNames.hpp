#pragma once
// The files an export writes, each named after the stem of its document.

#include <string>

namespace results {

inline std::string documentOf(const std::string& stem) { return stem + ".xdmf"; }
inline std::string auxiliaryFileOf(const std::string& stem) { return stem + "_aux.h5"; }
inline std::string meshFileOf(const std::string& stem) { return stem + ".2dm"; }
inline std::string envelopeDocumentOf(const std::string& stem) { return stem + "_envelopes.xdmf"; }

}  // namespace results
