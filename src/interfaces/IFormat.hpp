#pragma once
// One export of the stored results into files for a visualisation program.

namespace api {

class IFormat {
 public:
  virtual ~IFormat() = default;
  virtual void exportData(const int& debugLevel) = 0;
};

}  // namespace api
