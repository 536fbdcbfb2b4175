#pragma once
// GDAL as the export uses it: its drivers registered once per process, and
// its messages kept off the console while a call runs, so that a failure
// reaches the user as one line of ours carrying the library's reason.

#include <string>

namespace dataio {

class GdalSession {
 public:
  GdalSession();
  ~GdalSession();
  GdalSession(const GdalSession&) = delete;
  GdalSession& operator=(const GdalSession&) = delete;

  // The library's last error message of this session, "" when none, with
  // the staged name of a file in it told as the user knows the file.
  std::string lastError(const std::string& stagedFile = "", const std::string& fileName = "") const;
  // Whether the library reported an error (not a warning) in this session.
  bool failed() const;
};

}  // namespace dataio
