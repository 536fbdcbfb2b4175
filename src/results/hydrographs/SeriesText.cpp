#include "results/hydrographs/SeriesText.hpp"

#include <charconv>
#include <cmath>
#include <fstream>

#include "interfaces/Failure.hpp"

namespace results {

std::string numberText(double value) {
  if (std::isnan(value)) return "nan";
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
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
