#pragma once
// Switches HDF5's automatic error printing off for the lifetime of the scope,
// around calls whose failure only answers a question (does this path exist?).

#include <cstdint>

namespace h5 {

class SilenceErrors {
 public:
  SilenceErrors() noexcept;
  ~SilenceErrors();
  SilenceErrors(const SilenceErrors&) = delete;
  SilenceErrors& operator=(const SilenceErrors&) = delete;

 private:
  using Printer = int (*)(std::int64_t, void*);
  Printer printer = nullptr;
  void* printerData = nullptr;
};

}  // namespace h5
