#pragma once
// The text of the series files: numbers that read back as the same double,
// in comma-separated rows.

#include <string>
#include <vector>

namespace results {

// The shortest text that reads back as the same double; NaN as "nan".
std::string numberText(double value);

// "a,b,c\n"
void appendRow(std::string& text, const std::vector<std::string>& fields);

// Writes text to the file (a staged name); a failure names the file as the
// user knows it.
void writeSeriesFile(const std::string& stagedFile, const std::string& fileName, const std::string& text);

}  // namespace results
