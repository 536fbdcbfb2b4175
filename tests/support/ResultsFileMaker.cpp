#include "support/ResultsFileMaker.hpp"

#include <stdexcept>

namespace testing_support {

namespace {

std::string quotedList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "\"" : ", \"") + name + "\"";
  return list;
}

}  // namespace

void ResultsFileMaker::ints(const std::string& path, int rows, int columns, const std::vector<int>& values) {
  if (values.size() != static_cast<std::size_t>(rows) * columns) throw std::runtime_error("bad test matrix " + path);
  ints(path, {static_cast<hsize_t>(rows), static_cast<hsize_t>(columns)}, values);
  intAttribute(path, "size", rows * columns);
}

void ResultsFileMaker::doubles(const std::string& path, int rows, int columns, const std::vector<double>& values) {
  if (values.size() != static_cast<std::size_t>(rows) * columns) throw std::runtime_error("bad test matrix " + path);
  doubles(path, {static_cast<hsize_t>(rows), static_cast<hsize_t>(columns)}, values);
  intAttribute(path, "size", rows * columns);
}

void ResultsFileMaker::step(const std::string& path, double time, int rows, int columns,
                            const std::vector<double>& values) {
  doubles(path, rows, columns, values);
  doubleAttribute(path, "t", time);
}

void ResultsFileMaker::scalar(const std::string& path, double value) {
  doubles(path, {1}, {value});
  intAttribute(path, "size", 1);
}

void ResultsFileMaker::unitSquareMesh() {
  ints("CellsAll/Topology", 2, 3, {0, 1, 2, 0, 2, 3});
  doubles("NodesAll/Coordnts", 4, 3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
}

void ResultsFileMaker::archive(const std::string& modelText, const std::vector<std::string>& outputs) {
  text(".config/model", modelText);
  text(".config/simulation", "{\"SIMULATION\": {\"OUTPUT\": [" + quotedList(outputs) + "], \"END\": 100.0}}");
}

std::string hydraulicsModelText() {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": {"HYDRAULICS": {"SCHEME": "HLLC"}}}}})";
}

std::string morphologyModelText() {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": {"HYDRAULICS": {"SCHEME": "HLLC"}, "MORPHOLOGY": {"D50": 0.002}}}}})";
}

std::string configurationText(const std::vector<std::string>& formats) {
  std::string entries;
  for (const auto& format : formats)
    entries += (entries.empty() ? "" : ", ") + std::string("{\"format\": \"") + format + "\"}";
  return "{\"RESULTS\": {\"EXPORT\": [" + entries + "]}}";
}

std::string xdmfEntriesText(const std::vector<std::string>& entries) {
  std::string list;
  for (const auto& members : entries)
    list += (list.empty() ? "" : ", ") + std::string(R"({"format": "xdmf")") + (members.empty() ? "" : ", ") +
            members + "}";
  return R"({"RESULTS": {"EXPORT": [)" + list + "]}}";
}

}  // namespace testing_support
