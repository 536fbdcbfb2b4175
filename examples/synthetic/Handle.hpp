#pragma once
// Owns one HDF5 identifier and closes it with the matching close function.

#include <hdf5.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace synthetic {

class Handle {
 public:
  using Closer = herr_t (*)(hid_t);

  // A negative identifier is the C library's failure value: refuse it here so
  // that no caller has to test it.
  Handle(hid_t identifier, Closer closeFunction, const std::string& what)
      : id(identifier), closer(closeFunction) {
    if (id < 0) {
      throw std::runtime_error("HDF5 call failed: " + what);
    }
  }
  ~Handle() {
    if (id >= 0) {
      closer(id);
    }
  }
  Handle(Handle&& other) noexcept : id(std::exchange(other.id, -1)), closer(other.closer) {}
  Handle& operator=(Handle&& other) noexcept {
    std::swap(id, other.id);
    std::swap(closer, other.closer);
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  hid_t get() const { return id; }

 private:
  hid_t id;
  Closer closer;
};

inline void checkStatus(herr_t status, const std::string& what) {
  if (status < 0) {
    throw std::runtime_error("HDF5 call failed: " + what);
  }
}

}  // namespace synthetic
