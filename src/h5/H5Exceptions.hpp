#pragma once
// Failures of HDF5 calls, one type per kind of object involved. The text is
// the action that failed followed by the innermost entry of HDF5's error stack.

#include <exception>
#include <stdexcept>
#include <string>

#include "interfaces/LibraryFailure.hpp"

namespace h5 {

class Exception : public std::runtime_error, public api::LibraryFailure {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A kind of failure that, told again, is still of its kind.
template <typename Kind>
class ExceptionOf : public Exception {
 public:
  using Exception::Exception;
  std::exception_ptr withText(const std::string& text) const override { return std::make_exception_ptr(Kind(text)); }
};

class FileException : public ExceptionOf<FileException> {
  using ExceptionOf::ExceptionOf;
};
class GroupException : public ExceptionOf<GroupException> {
  using ExceptionOf::ExceptionOf;
};
class DataSetException : public ExceptionOf<DataSetException> {
  using ExceptionOf::ExceptionOf;
};
class DataSpaceException : public ExceptionOf<DataSpaceException> {
  using ExceptionOf::ExceptionOf;
};
class AttributeException : public ExceptionOf<AttributeException> {
  using ExceptionOf::ExceptionOf;
};
class DataTypeException : public ExceptionOf<DataTypeException> {
  using ExceptionOf::ExceptionOf;
};
class ObjectException : public ExceptionOf<ObjectException> {
  using ExceptionOf::ExceptionOf;
};
class PropertyException : public ExceptionOf<PropertyException> {
  using ExceptionOf::ExceptionOf;
};

}  // namespace h5
