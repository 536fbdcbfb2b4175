#pragma once
// File names and paths go into XML attribute values and inner text; the
// characters that would end or break them are written as entities.

#include <string>

namespace dataio {

// & < > and " become &amp; &lt; &gt; and &quot;; every other character stays.
std::string escapeXml(const std::string& text);

// The same for an attribute value, where a parser would read a tab as a
// blank: it becomes &#9;.
std::string escapeXmlAttribute(const std::string& text);

}  // namespace dataio
