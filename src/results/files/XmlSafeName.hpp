#pragma once
// File names that a document writes (its auxiliary file, the results file)
// must be text that XML can carry: a control character would make the
// document malformed, a line break would split a reference, and bytes that
// are not UTF-8 are no characters at all. A tab can be carried.

#include <string>

namespace results {

// One line naming what the name is for (what: "document", "auxiliary file",
// "results file"), the name with its offending bytes shown as \xNN, and the
// first offence; before anything is written.
void requireXmlSafeName(const std::string& what, const std::string& name);

}  // namespace results
