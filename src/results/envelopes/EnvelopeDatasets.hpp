#pragma once
// Where the envelopes lie in the auxiliary file: one dataset per envelope
// document attribute, named like it, under the group "envelopes"; (cells, 1)
// for a scalar, (cells, 3) for a vector (x, y and a zero z).

#include <string>
#include <vector>

#include "interfaces/IEnvelopeWriter.hpp"
#include "interfaces/IH5Writer.hpp"
#include "results/envelopes/Envelopes.hpp"

namespace results {

struct EnvelopeDataset {
  const char* name;
  const std::vector<double> Envelopes::*values;
  int columns;  // 1 for a scalar, 3 for a vector
};

// In the order of the document's attributes.
const std::vector<EnvelopeDataset>& envelopeDatasets();
// Written after them when the envelopes hold it (an export with maps).
const EnvelopeDataset& hazardClassDataset();

// "/envelopes/" + name, as the auxiliary file and the document name it: a
// path from the root, which every reader resolves (meshio takes no other).
std::string envelopeDatasetPath(const char* name);

// Every envelope of a mesh of cells cells into the auxiliary file.
void writeEnvelopes(api::IH5Writer& auxiliaryFile, const Envelopes& envelopes, int cells);

// One attribute per envelope dataset, read from auxiliaryReference (the
// auxiliary file as seen from the document's folder).
void addEnvelopeAttributes(api::IEnvelopeWriter& document, const std::string& auxiliaryReference,
                           bool hazardClasses = false);

}  // namespace results
