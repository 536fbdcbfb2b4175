#include "results/hydrographs/HydrographAnnouncement.hpp"

namespace results {

namespace {

void count(std::ostream& out, std::size_t n, const char* one, const char* many) {
  out << n << (n == 1 ? one : many);
}

}  // namespace

void announceHydrographs(std::ostream& out, const ExportSelection& selection) {
  const std::size_t gauges = selection.hydrographs.gauges.size();
  const std::size_t sections = selection.hydrographs.sections.size();
  if (gauges == 0 && sections == 0) return;
  out << ", ";
  if (gauges > 0) count(out, gauges, " gauge", " gauges");
  if (gauges > 0 && sections > 0) out << " and ";
  if (sections > 0) count(out, sections, " section", " sections");
  out << " to " << selection.stem << "_*.csv";
}

}  // namespace results
