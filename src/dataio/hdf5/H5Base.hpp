#pragma once
// One HDF5 file held open for the object's lifetime, with the file-level
// operations that the readers and the writer share.

#include <optional>
#include <string>

#include "h5/H5Calls.hpp"
#include "h5/H5File.hpp"
#include "h5/H5Handle.hpp"
#include "h5/H5ReadRecord.hpp"
#include "interfaces/IH5Base.hpp"

namespace dataio {

// The interface's name for a class of stored values.
api::ValueClass valueClassOf(h5::TypeClass typeClass);

class H5Base : public virtual api::IH5Base {
 public:
  // mode "w" creates or empties the file, "rw" opens it read-write, anything
  // else read-only.
  H5Base(const std::string& fileName, const std::string& mode);
  // Flushes and closes; a failure is reported on the error stream, since a
  // destructor must not throw.
  ~H5Base() override;
  H5Base(const H5Base&) = delete;
  H5Base& operator=(const H5Base&) = delete;

  std::string getFileName() const override;
  void writeAttribute(const std::string& path, const std::string& name, const int& value) override;
  void writeAttribute(const std::string& path, const std::string& name, const double& value) override;
  // A missing attribute reads as 0 or as the smallest normalised double.
  int readIntAttribute(const std::string& path, const std::string& name) override;
  double readDoubleAttribute(const std::string& path, const std::string& name) override;
  // -1 when groupPath does not exist.
  int getNrObjects(const std::string& groupPath) override;
  bool exist(const std::string& path) override;
  // The dataset must exist, as for reading the attribute.
  std::optional<api::AttributeInfo> getAttributeInfo(const std::string& path, const std::string& name) override;

 protected:
  h5::DataSetHandle openDataSet(const std::string& path) const;
  // Names the object that the operation reads, for the crash report of a
  // damaged file; held for the whole operation. A file that the program
  // writes is no input that could be damaged.
  h5::ReadScope reading(const std::string& path) const { return h5::ReadScope(storedName, path, readOnly); }
  bool isReadOnly() const { return readOnly; }
  h5::Id fileId() const { return f5.id(); }
  // Creates the groups above a dataset path that do not exist yet.
  void createGroupOf(const std::string& path);
  // The attribute, or nothing when the dataset at path does not have it.
  std::optional<double> findDoubleAttribute(const std::string& path, const std::string& name);
  // Flushes and closes the file, throwing on failure.
  void closeFile();

 private:
  template <typename T>
  void attachAttribute(const std::string& path, const std::string& name, T value);
  template <typename T>
  std::optional<T> findAttribute(const std::string& path, const std::string& name);
  void requireObjectToRead(const std::string& path) const;

  std::string storedName;  // as given to the constructor
  bool readOnly;
  h5::File f5;
};

}  // namespace dataio
