#pragma once
// The results driver of one run: export, or restore of the archived model input.

#include <string>

namespace api {

class IResults {
 public:
  virtual ~IResults() = default;
  virtual void restoreArchive(const std::string& archiveFile) = 0;
  virtual void exportResults(const int& debugLevel, const std::string& outputFile) = 0;
};

}  // namespace api
