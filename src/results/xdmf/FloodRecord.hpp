#pragma once
// The flood record of a run (flood_tracking) is shown as five scalars, named
// after the output with these suffixes, from its first five columns.

namespace results {

inline constexpr int floodRecordColumns = 5;
inline constexpr const char* floodRecordSuffixes[floodRecordColumns] = {"_t", "_h", "_v", "_q", "_tau"};

}  // namespace results
