#pragma once
// The command-file reader: one parsed JSON document answering typed questions
// addressed by "/"-separated key paths.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "dataio/json/CommandFiles.hpp"
#include "interfaces/ICommandFileReader.hpp"

namespace dataio {

class JSONReader : public api::ICommandFileReader {
 public:
  // The source is JSON text, or else the path of a file holding it.
  explicit JSONReader(const std::string& source);
  // JSON text only; what names the text in the refusal of one that is not.
  static JSONReader fromText(const std::string& text, const std::string& what);

  std::string getFileName() const override;
  std::string dump() const override;
  bool exists(const std::vector<std::string>& paths) const override;
  std::string itemPath(const std::string& path, const int& index, const std::string& key) const override;
  std::vector<std::string> getBlockNames(const std::string& path) const override;

  bool getBool(const std::string& path, bool& found) const override;
  bool getBool(const std::string& path, const bool& defaultValue) const override;
  int getInt(const std::string& path, bool& found) const override;
  int getInt(const std::string& path, const int& defaultValue) const override;
  std::vector<int> getIntVector(const std::string& path, bool& found) const override;
  std::vector<int> getIntVector(const std::string& path, const std::vector<int>& defaultValue) const override;
  double getDouble(const std::string& path, bool& found) const override;
  double getDouble(const std::string& path, const double& defaultValue) const override;
  std::vector<double> getDoubleVector(const std::string& path, bool& found) const override;
  std::vector<double> getDoubleVector(const std::string& path,
                                      const std::vector<double>& defaultValue) const override;
  std::string getString(const std::string& path, bool& found) const override;
  std::string getString(const std::string& path, const std::string& defaultValue) const override;
  std::vector<std::string> getStringVector(const std::string& path, bool& found) const override;
  std::vector<std::string> getStringVector(const std::string& path,
                                           const std::vector<std::string>& defaultValue) const override;
  int getSize(const std::string& path, bool& found) const override;
  int getSize(const std::string& path) const override;

  int getItemInt(const std::string& path, const int& index, const std::string& key, bool& found) const override;
  int getItemInt(const std::string& path, const int& index, const std::string& key,
                 const int& defaultValue) const override;
  double getItemDouble(const std::string& path, const int& index, const std::string& key,
                       bool& found) const override;
  double getItemDouble(const std::string& path, const int& index, const std::string& key,
                       const double& defaultValue) const override;
  std::string getItemString(const std::string& path, const int& index, const std::string& key,
                            bool& found) const override;
  std::string getItemString(const std::string& path, const int& index, const std::string& key,
                            const std::string& defaultValue) const override;
  std::vector<double> getItemDoubleVector(const std::string& path, const int& index, const std::string& key,
                                          bool& found) const override;
  std::vector<double> getItemDoubleVector(const std::string& path, const int& index, const std::string& key,
                                          const std::vector<double>& defaultValue) const override;

  bool hasItem(const std::string& path, const int& index, const std::string& key) const override;
  int getItemSize(const std::string& path, const int& index, const std::string& key) const override;
  bool getItemBool(const std::string& path, const int& index, const std::string& key,
                   const bool& defaultValue) const override;
  std::vector<std::string> getItemStringVector(const std::string& path, const int& index, const std::string& key,
                                               const std::vector<std::string>& defaultValue) const override;

 private:
  JSONReader() = default;

  // The value a path or an item designates; found is false for an absent or
  // empty value, which then must not be used.
  struct Resolved {
    const nlohmann::json* value;
    bool found;
  };
  Resolved resolve(const std::string& path) const;
  // The member at a key path inside an item; an absent item finds nothing.
  const nlohmann::json* itemMember(const std::string& path, int index, const std::string& key) const;
  Resolved resolveItem(const std::string& path, int index, const std::string& key) const;

  template <typename T>
  T reported(const Resolved& resolved, bool& found, const std::string& description) const;
  template <typename T>
  T defaulted(const Resolved& resolved, const T& defaultValue) const;

  std::string fileName;
  nlohmann::json document;
};

}  // namespace dataio

