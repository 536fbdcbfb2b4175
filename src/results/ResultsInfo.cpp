#include "results/ResultsInfo.hpp"

#include <algorithm>
#include <memory>
#include <sstream>

#include "dataio/hdf5/H5Files.hpp"
#include "dataio/hdf5/ResultPaths.hpp"
#include "dataio/xdmf/TimeNotation.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "model/compose/Factory.hpp"
#include "results/stored/OutputData.hpp"
#include "results/stored/RunArchive.hpp"

namespace results {

namespace {

const char* const axes[] = {"x", "y", "z"};

// Times and coordinates of real runs need more than the stream's default six
// digits to tell neighbouring steps apart.
std::string number(double value) {
  std::ostringstream text;
  text.precision(10);
  text << value;
  return text.str();
}

std::string joined(const std::vector<std::string>& names) {
  if (names.empty()) return "none";
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string outputName(model::OutputID id) { return model::OutputProps.at(id).name; }

class Report {
 public:
  Report(const std::string& resultsFile_, api::IModel& model_, api::IResultReader& file_, std::ostream& out_)
      : resultsFile(resultsFile_), model(model_), file(file_), out(out_) {}

  void write() {
    out << "\n" << "results file: " << resultsFile << "\n";
    aggregates();
    mesh();
    times();
    const std::vector<std::string> listed = simulationOutputs(file);
    runOutputs(listed);
    validOutputs(listed);
    minWaterDepth();
    out.flush();
  }

 private:
  void aggregates() {
    std::vector<std::string> names;
    for (const model::AggregateID id : model.getAggregates()) names.push_back(model.getAggregate(id)->getName());
    out << "model aggregates: " << joined(names) << "\n";
  }

  // The counts come from the "size" attributes, as in the export.
  void mesh() {
    const api::IData* topology = model.getData(model::data_Topology);
    const api::IData* coordinates = model.getData(model::data_Coordnts_Nodes);
    if (!file.exist(topology->getPath())) {
      out << "mesh: missing " << topology->getPath() << "\n";
      return;
    }
    const int cells = file.readIntAttribute(topology->getPath(), "size") / topology->getSize();
    if (!file.exist(coordinates->getPath())) {
      out << "mesh: " << cells << " cells, nodes missing " << coordinates->getPath() << "\n";
      return;
    }
    const int nodes = file.readIntAttribute(coordinates->getPath(), "size") / coordinates->getSize();
    out << "mesh: " << cells << " cells, " << nodes << " nodes\n";
    boundingBox(coordinates->getPath());
  }

  void boundingBox(const std::string& path) {
    api::DoubleTable table;
    file.readDoubleTable(path, table);
    if (table.rows == 0) return;
    for (int c = 0; c < std::min(table.columns, 3); ++c) {
      double low = table.values[c];
      double high = low;
      for (int r = 1; r < table.rows; ++r) {
        low = std::min(low, table.values[r * table.columns + c]);
        high = std::max(high, table.values[r * table.columns + c]);
      }
      out << "  " << axes[c] << " from " << number(low) << " to " << number(high) << "\n";
    }
  }

  // Every data path of the model whose results group holds steps, whether
  // the model takes it as time dependent or not.
  void times() {
    out << "stored times [s]:";
    bool any = false;
    for (const model::DataID id : model.getData()) {
      const std::string path = model.getData(id)->getPath();
      if (file.getNrObjects(dataio::resultGroupPath(path)) < 1) continue;
      if (!any) out << "\n";
      any = true;
      out << "  " << path << ": " << timesText(summariseTimes(file.getTimes({path}, false))) << "\n";
    }
    if (!any) out << " none\n";
  }

  static std::string timesText(const StoredTimes& times) {
    const auto shown = [&](double value) { return times.closerThanTenDigits ? dataio::timeText(value, dataio::TimeNotation::shortest) : number(value); };
    std::string text = std::to_string(times.count) + (times.count == 1 ? " time, " : " times, ");
    if (times.count == 1) return text + "at " + shown(times.first);
    text += "from " + shown(times.first) + " to " + shown(times.last);
    // Steps written at a fixed interval differ in their last bits.
    const std::string smallest = number(times.smallestInterval);
    const std::string largest = number(times.largestInterval);
    if (smallest == largest) return text + ", every " + smallest;
    return text + ", intervals " + smallest + " to " + largest;
  }

  void runOutputs(const std::vector<std::string>& listed) {
    const std::vector<model::OutputID> valid = model.getValidOutputs();
    std::vector<std::string> names;
    for (const auto& name : listed) {
      const bool known = std::any_of(valid.begin(), valid.end(),
                                     [&](model::OutputID id) { return outputName(id) == name; });
      names.push_back(known ? name : name + " (not an output of this model setup)");
    }
    out << "outputs listed by the run: " << joined(names) << "\n";
  }

  void validOutputs(const std::vector<std::string>& listed) {
    const std::vector<model::OutputID> valid = model.getValidOutputs();
    std::size_t width = 0;
    for (const model::OutputID id : valid) width = std::max(width, outputName(id).size());
    out << "outputs this model setup can give (* listed by the run):\n";
    for (const model::OutputID id : valid) {
      const std::string name = outputName(id);
      const bool byRun = std::find(listed.begin(), listed.end(), name) != listed.end();
      out << (byRun ? "  * " : "    ") << name << std::string(width - name.size() + 2, ' ')
          << availability(model.requireOutput(name)) << "\n";
    }
  }

  // What an export of the output would find: its data, or what it lacks.
  std::string availability(model::OutputID output) const {
    const std::string missing = missingDataset(model, file, output);
    if (!missing.empty()) return "missing " + missing;
    if (!storedOverTime(model, output))
      return "data in the file, stored once: exported only beside an output stored over time";
    return "data in the file";
  }

  void minWaterDepth() {
    const std::optional<double> depth = storedMinimumWaterDepth(file);
    out << "MinWaterDepth: ";
    if (depth)
      out << number(*depth) << " m\n";
    else
      out << "not stored (the export takes 0 m)\n";
  }

  const std::string& resultsFile;
  api::IModel& model;
  api::IResultReader& file;
  std::ostream& out;
};

}  // namespace

StoredTimes summariseTimes(const api::TimeTable& times) {
  StoredTimes summary;
  summary.count = times.size();
  if (times.empty()) return summary;
  summary.first = times.begin()->first;
  summary.last = times.rbegin()->first;
  bool firstInterval = true;
  for (auto next = std::next(times.begin()), previous = times.begin(); next != times.end(); ++next, ++previous) {
    const double interval = next->first - previous->first;
    summary.smallestInterval = firstInterval ? interval : std::min(summary.smallestInterval, interval);
    summary.largestInterval = firstInterval ? interval : std::max(summary.largestInterval, interval);
    firstInterval = false;
    summary.closerThanTenDigits = summary.closerThanTenDigits || number(next->first) == number(previous->first);
  }
  return summary;
}

// Composed first and the file opened after, as in the export, so that both
// fail alike on a file that cannot be read.
void printResultsInfo(const std::string& resultsFile, std::ostream& out) {
  const std::unique_ptr<api::IModel> model(compose(resultsFile));
  const std::unique_ptr<api::IResultReader> file(dataio::createResultReader(resultsFile));
  Report(resultsFile, *model, *file, out).write();
}

}  // namespace results
