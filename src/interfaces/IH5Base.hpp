#pragma once
// File-level HDF5 access shared by the readers and writers: one open file per
// object, attributes of datasets, group counts and existence tests.

#include <optional>
#include <string>

namespace api {

// The classes of stored values that checks of a file's content tell apart.
enum class ValueClass { Integer, Float, String, Other };

// What an attribute stores, before any conversion.
struct AttributeInfo {
  ValueClass valueClass = ValueClass::Other;
  unsigned long long values = 0;
};

class IH5Base {
 public:
  virtual ~IH5Base() = default;

  virtual std::string getFileName() const = 0;
  virtual void writeAttribute(const std::string& path, const std::string& name, const int& value) = 0;
  virtual void writeAttribute(const std::string& path, const std::string& name, const double& value) = 0;
  virtual int readIntAttribute(const std::string& path, const std::string& name) = 0;
  virtual double readDoubleAttribute(const std::string& path, const std::string& name) = 0;
  virtual int getNrObjects(const std::string& groupPath) = 0;
  virtual bool exist(const std::string& path) = 0;
  // Nothing when the dataset at path has no attribute of that name.
  virtual std::optional<AttributeInfo> getAttributeInfo(const std::string& path, const std::string& name) = 0;
};

}  // namespace api
