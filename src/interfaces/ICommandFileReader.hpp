#pragma once
// Typed queries on one JSON document by "/"-separated key paths.

#include <string>
#include <vector>

namespace api {

class ICommandFileReader {
 public:
  virtual ~ICommandFileReader() = default;

  virtual std::string getFileName() const = 0;
  virtual std::string dump() const = 0;
  virtual bool exists(const std::vector<std::string>& paths) const = 0;
  virtual std::string itemPath(const std::string& path, const int& index, const std::string& key) const = 0;
  virtual std::vector<std::string> getBlockNames(const std::string& path) const = 0;

  virtual bool getBool(const std::string& path, bool& found) const = 0;
  virtual bool getBool(const std::string& path, const bool& defaultValue) const = 0;
  virtual int getInt(const std::string& path, bool& found) const = 0;
  virtual int getInt(const std::string& path, const int& defaultValue) const = 0;
  virtual std::vector<int> getIntVector(const std::string& path, bool& found) const = 0;
  virtual std::vector<int> getIntVector(const std::string& path, const std::vector<int>& defaultValue) const = 0;
  virtual double getDouble(const std::string& path, bool& found) const = 0;
  virtual double getDouble(const std::string& path, const double& defaultValue) const = 0;
  virtual std::vector<double> getDoubleVector(const std::string& path, bool& found) const = 0;
  virtual std::vector<double> getDoubleVector(const std::string& path,
                                              const std::vector<double>& defaultValue) const = 0;
  virtual std::string getString(const std::string& path, bool& found) const = 0;
  virtual std::string getString(const std::string& path, const std::string& defaultValue) const = 0;
  virtual std::vector<std::string> getStringVector(const std::string& path, bool& found) const = 0;
  virtual std::vector<std::string> getStringVector(const std::string& path,
                                                   const std::vector<std::string>& defaultValue) const = 0;
  virtual int getSize(const std::string& path, bool& found) const = 0;
  virtual int getSize(const std::string& path) const = 0;

  virtual int getItemInt(const std::string& path, const int& index, const std::string& key, bool& found) const = 0;
  virtual int getItemInt(const std::string& path, const int& index, const std::string& key,
                         const int& defaultValue) const = 0;
  virtual double getItemDouble(const std::string& path, const int& index, const std::string& key,
                               bool& found) const = 0;
  virtual double getItemDouble(const std::string& path, const int& index, const std::string& key,
                               const double& defaultValue) const = 0;
  virtual std::string getItemString(const std::string& path, const int& index, const std::string& key,
                                    bool& found) const = 0;
  virtual std::string getItemString(const std::string& path, const int& index, const std::string& key,
                                    const std::string& defaultValue) const = 0;
  virtual std::vector<double> getItemDoubleVector(const std::string& path, const int& index,
                                                  const std::string& key, bool& found) const = 0;
  virtual std::vector<double> getItemDoubleVector(const std::string& path, const int& index,
                                                  const std::string& key,
                                                  const std::vector<double>& defaultValue) const = 0;

  // Whether the item has the member at all, whatever its value (an empty
  // list or object included). key may be a "/"-separated path inside the item.
  virtual bool hasItem(const std::string& path, const int& index, const std::string& key) const = 0;
  // The number of elements of the item's list member (0 when it is absent or
  // no list). Inside an item, a key piece of digits designates an element of
  // a list ("gauges/2/x").
  virtual int getItemSize(const std::string& path, const int& index, const std::string& key) const = 0;
  virtual bool getItemBool(const std::string& path, const int& index, const std::string& key,
                           const bool& defaultValue) const = 0;
  virtual std::vector<std::string> getItemStringVector(const std::string& path, const int& index,
                                                       const std::string& key,
                                                       const std::vector<std::string>& defaultValue) const = 0;
};

}  // namespace api
