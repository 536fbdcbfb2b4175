#pragma once
// Failures of HDF5 calls, one type per kind of object involved. The text is
// the action that failed followed by the innermost entry of HDF5's error stack.

#include <stdexcept>
#include <string>

namespace h5 {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class FileException : public Exception {
  using Exception::Exception;
};
class GroupException : public Exception {
  using Exception::Exception;
};
class DataSetException : public Exception {
  using Exception::Exception;
};
class DataSpaceException : public Exception {
  using Exception::Exception;
};
class AttributeException : public Exception {
  using Exception::Exception;
};
class DataTypeException : public Exception {
  using Exception::Exception;
};
class ObjectException : public Exception {
  using Exception::Exception;
};
class PropertyException : public Exception {
  using Exception::Exception;
};

}  // namespace h5
