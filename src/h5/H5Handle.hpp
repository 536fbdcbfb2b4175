#pragma once
// A move-only owner of one HDF5 identifier, closed when the owner goes away.

#include <cstdint>
#include <utility>

namespace h5 {

// hid_t and hsize_t of the HDF5 1.10 C API, without its header.
using Id = std::int64_t;
using Extent = unsigned long long;

inline constexpr Id invalidId = -1;

enum class Kind { File, Group, DataSet, DataSpace, Attribute, DataType, PropertyList };

// Closes id with the close call of its kind; failures are ignored because
// this runs in destructors.
void closeQuietly(Kind kind, Id id) noexcept;

template <Kind kind>
class Handle {
 public:
  Handle() = default;
  explicit Handle(Id id) noexcept : ident(id) {}
  ~Handle() { reset(); }

  Handle(Handle&& other) noexcept : ident(other.release()) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      reset();
      ident = other.release();
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  Id id() const noexcept { return ident; }
  bool valid() const noexcept { return ident >= 0; }

  // Gives up ownership, for callers that close the identifier themselves.
  Id release() noexcept { return std::exchange(ident, invalidId); }

 private:
  void reset() noexcept {
    if (valid()) closeQuietly(kind, release());
  }

  Id ident = invalidId;
};

using FileHandle = Handle<Kind::File>;
using GroupHandle = Handle<Kind::Group>;
using DataSetHandle = Handle<Kind::DataSet>;
using DataSpaceHandle = Handle<Kind::DataSpace>;
using AttributeHandle = Handle<Kind::Attribute>;
using DataTypeHandle = Handle<Kind::DataType>;
using PropertyListHandle = Handle<Kind::PropertyList>;

}  // namespace h5
