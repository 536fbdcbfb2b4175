#pragma once
// One open HDF5 file with its name. Modes: "w" creates the file or empties an
// existing one, "rw" opens an existing file read-write, anything else opens it
// read-only.

#include <string>

#include "h5/H5Handle.hpp"

namespace h5 {

class File {
 public:
  File(const std::string& fileName, const std::string& mode);

  const std::string& getName() const { return name; }
  bool isOpen() const { return handle.valid(); }
  // The identifier for further calls; a FileException once the file is closed.
  Id id() const;

  // Whether an object exists at path; a missing intermediate group means no,
  // and "/" always exists.
  bool exist(const std::string& path) const;
  void flush();
  // Flushes and closes, throwing on failure; later use fails cleanly.
  void close();

 private:
  std::string name;
  FileHandle handle;
};

}  // namespace h5
