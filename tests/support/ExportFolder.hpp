#pragma once
// The fixture of the binary's export tests: a folder that holds the run
// (run.h5) and the configuration the test writes, and what the export left.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

namespace testing_support {

// The line that closes every failed run.
inline const std::string killedLine = " -> ... unfortunately TORVANEL is killed!";

class ExportFolder : public ::testing::Test {
 protected:
  // One "xdmf" entry per member list, e.g. R"("envelopes": {})", written to
  // configuration; extra arguments follow -f and -r.
  BinaryRun exportWith(const std::vector<std::string>& entries, const std::vector<std::string>& extra = {},
                       const std::string& results = "run.h5", const std::string& configuration = "cfg.json");
  bool exists(const std::string& name) const;
  // The names in the folder, sorted.
  std::vector<std::string> filesLeft() const;
  // The lines that announce an entry's export (" -> exporting ...").
  static std::vector<std::string> announced(const BinaryRun& run);
  // Status 1 and exactly the one line of the failure before the closing one.
  static void expectRefusal(const BinaryRun& run, const std::string& line);

  TempDir dir;
};

}  // namespace testing_support
