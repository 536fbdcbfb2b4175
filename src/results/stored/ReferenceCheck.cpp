#include "results/stored/ReferenceCheck.hpp"

#include "interfaces/Failure.hpp"

namespace results {
namespace {

std::string countText(unsigned long long count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// " -> dataset </RESULTS/CellsAll/HydState/0000002> read by <water_surface> at t = 20 s in file <run.h5>:
//     expected 6000 rows (one per cell), found 10 rows"
[[noreturn]] void reject(const std::string& file, const std::string& path, const std::string& output, double time,
                         const std::string& expected, const std::string& found) {
  failure::fail("dataset <", path, "> read by <", output, "> at t = ", time, " s in file <", file, ">: expected ",
                expected, ", found ", found);
}

}  // namespace

ReferenceCheck::ReferenceCheck(api::IH5Reader& reader_, int cells_) : reader(reader_), cells(cells_) {}

void ReferenceCheck::require(const std::string& path, int column, const std::string& output, double time) {
  const Shape shape = checkedShape(path, output, time);
  if (column >= 0 && static_cast<unsigned long long>(column) < shape.columns) return;
  reject(reader.getFileName(), path, output, time,
         "at least " + countText(static_cast<unsigned long long>(column < 0 ? 0 : column) + 1, "column"),
         countText(shape.columns, "column"));
}

int ReferenceCheck::columnsOf(const std::string& path) const {
  const auto known = checked.find(path);
  RESULTS_CHECK(known != checked.end(), "a dataset is checked before the document declares it");
  return static_cast<int>(known->second.columns);
}

ReferenceCheck::Shape ReferenceCheck::checkedShape(const std::string& path, const std::string& output, double time) {
  const auto known = checked.find(path);
  if (known != checked.end()) return known->second;
  const std::string file = reader.getFileName();
  if (!reader.exist(path))
    failure::fail("dataset <", path, "> read by <", output, "> at t = ", time, " s is not in the results file <", file,
                  ">");
  const api::DatasetInfo info = reader.getDatasetInfo(path);
  if (info.extents.size() != 2)
    reject(file, path, output, time, "a two-dimensional dataset", "one of rank " + std::to_string(info.extents.size()));
  if (info.valueClass != api::ValueClass::Float && info.valueClass != api::ValueClass::Integer)
    reject(file, path, output, time, "numbers",
           info.valueClass == api::ValueClass::String ? "strings" : "values of another type");
  const Shape shape{info.extents[0], info.extents[1]};
  if (shape.rows != static_cast<unsigned long long>(cells))
    reject(file, path, output, time, countText(static_cast<unsigned long long>(cells), "row") + " (one per cell)",
           countText(shape.rows, "row"));
  checked.emplace(path, shape);
  return shape;
}

}  // namespace results
