#include "h5/H5Silence.hpp"

#include <hdf5.h>

#include <type_traits>

namespace h5 {

static_assert(std::is_same_v<H5E_auto2_t, int (*)(std::int64_t, void*)>, "H5E_auto2_t changed");

SilenceErrors::SilenceErrors() noexcept {
  H5Eget_auto2(H5E_DEFAULT, &printer, &printerData);
  H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

SilenceErrors::~SilenceErrors() { H5Eset_auto2(H5E_DEFAULT, printer, printerData); }

}  // namespace h5
