#include "results/hydrographs/SeriesText.hpp"

#include <cmath>
#include <fstream>

#include "dataio/xdmf/TimeNotation.hpp"
#include "interfaces/Failure.hpp"

namespace results {

std::string numberText(double value) {
  if (std::isnan(value)) return "nan";
  return dataio::timeText(value, dataio::TimeNotation::shortest);
}

void appendRow(std::string& text, const std::vector<std::string>& fields) {
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) text += ',';
    text += fields[k];
  }
  text += '\n';
}

void writeSeriesFile(const std::string& stagedFile, const std::string& fileName, const std::string& text) {
  std::ofstream file(stagedFile, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) failure::fail("cannot write <", fileName, ">");
}

}  // namespace results
