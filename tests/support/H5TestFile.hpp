#pragma once
// The one writer of HDF5 files for tests. It calls the C library directly, so
// that the files do not depend on the code under test, and checks every call.

#include <hdf5.h>

#include <string>
#include <vector>

namespace testing_support {

class H5TestFile {
 public:
  // Create makes a new file (an existing one is emptied); Edit opens one to change.
  enum class Opening { Create, Edit };
  explicit H5TestFile(const std::string& name, Opening opening = Opening::Create);
  ~H5TestFile();
  H5TestFile(const H5TestFile&) = delete;
  H5TestFile& operator=(const H5TestFile&) = delete;

  // For what the helpers below do not write.
  hid_t id() const { return file; }

  // Datasets of any rank; missing parent groups are created.
  void doubles(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<double>& values);
  void ints(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<int>& values);
  // Variable-length strings in the library's default (ASCII) character set.
  void strings(const std::string& path, const std::vector<std::string>& texts);
  // One variable-length UTF-8 string.
  void text(const std::string& path, const std::string& value);
  // A double dataset whose storage is never allocated: any extent costs nothing.
  void unwritten(const std::string& path, const std::vector<hsize_t>& dims);
  // Variable-length strings declared and never written.
  void unwrittenStrings(const std::string& path, hsize_t count);
  // A dataset of rank 0 (one value, no extents).
  void scalarDouble(const std::string& path, double value);
  void group(const std::string& path);
  // Unlinks a dataset or a group, so that its path can be written anew.
  void remove(const std::string& path);

  // Attributes replace one of the same name. Without a count they are scalars;
  // with one, lists of `count` equal values (zero makes one without values).
  void intAttribute(const std::string& path, const std::string& name, int value);
  void doubleAttribute(const std::string& path, const std::string& name, double value);
  void doubleAttribute(const std::string& path, const std::string& name, double value, hsize_t count);
  void stringAttribute(const std::string& path, const std::string& name, const std::string& value);
  void removeAttribute(const std::string& path, const std::string& name);

 private:
  void write(const std::string& path, const std::vector<hsize_t>& dims, hid_t type, const void* data);
  void attribute(const std::string& path, const std::string& name, hid_t type, hid_t space, const void* data);

  hid_t file;
  hid_t links;
};

}  // namespace testing_support
