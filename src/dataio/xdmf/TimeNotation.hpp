#pragma once
// How a document writes its times. printf "%f" (six decimals) is what every
// document has always shown, and readers sort steps by that text: times that
// print alike under it (steps 1e-7 s apart) would merge into one, and a time
// of 1e300 s would print as 300 digits. Such a document writes all of its
// times in the shortest form that reads back as the same double instead.

#include <string>
#include <vector>

namespace dataio {

enum class TimeNotation { fixed, shortest };

// fixed unless two of the times print alike under "%f" or one reaches 1e15 s
// in magnitude.
TimeNotation notationFor(const std::vector<double>& times);

// "12.500000" (fixed) or "12.5" (shortest).
std::string timeText(double time, TimeNotation notation);

}  // namespace dataio
