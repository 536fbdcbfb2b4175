// The cost of folding stored times into the flood envelopes, alone: the
// accumulator's add over every cell of every time, in blocks as the export
// hands them over, and its finish.
//
//   envelope_fold [cells] [times] [block rows] [runs] [flow]
//
// Defaults: 500000 cells, 60 times, blocks of 2048 rows (the export's), 5
// runs, flow "dambreak": the dam break of the export benchmark's results file
// (bench/make_results), whose front floods a dry channel, so that maxima,
// arrivals and their times change as often as in the benchmark. Flow "wave"
// cycles through four phases of a wave that wets and dries half the cells at
// every time: the worst case for the wet runs. The states are made before
// each time is folded and are not timed. Prints the minimum and median
// seconds of a run, in processor time (in steps of a microsecond per block)
// and in wall time, and the cells folded per wall second.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "results/envelopes/EnvelopeAccumulator.hpp"
#include "synthetic/FlowField.hpp"
#include "synthetic/Mesh.hpp"
#include "synthetic/ResultsFile.hpp"

namespace {

constexpr double minDepth = 1e-3;

// The hydraulic state of every cell at one time, as the export computes it
// from the stored columns.
struct State {
  std::vector<double> surface, depth, velocityX, velocityY, speed;

  void resize(std::size_t cells) {
    for (std::vector<double>* column : {&surface, &depth, &velocityX, &velocityY, &speed}) column->resize(cells);
  }
  void set(std::size_t i, double h, double H, double qx, double qy) {
    const bool dry = minDepth > h;
    surface[i] = H;
    depth[i] = h;
    velocityX[i] = dry ? 0.0 : qx / h;
    velocityY[i] = dry ? 0.0 : qy / h;
    speed[i] = std::sqrt(velocityX[i] * velocityX[i] + velocityY[i] * velocityY[i]);
  }
};

class Flow {
 public:
  Flow(const std::string& kind, int cells, int count)
      : wave(kind == "wave"),
        mesh(synthetic::makeRectangleMesh(cells, channel, {})),
        field(mesh, channel, synthetic::ModelKind::hydraulics, minDepth),
        times(synthetic::outputTimes(count, channel)) {}

  std::size_t cells() const { return static_cast<std::size_t>(mesh.cellCount()); }
  double time(int k) const { return times[static_cast<std::size_t>(k)]; }

  void stateAt(int k, State& state) {
    state.resize(cells());
    if (wave) return waveAt(k, state);
    field.advanceTo(time(k));
    const std::vector<double>& hyd = field.hydState();
    const std::vector<double>& bed = field.bottom();
    for (std::size_t i = 0; i < cells(); ++i)
      state.set(i, hyd[3 * i] - bed[i], hyd[3 * i], hyd[3 * i + 1], hyd[3 * i + 2]);
  }

 private:
  void waveAt(int k, State& state) const {
    const int phase = k % 4;
    for (std::size_t i = 0; i < cells(); ++i) {
      const double x = static_cast<double>(i) / static_cast<double>(cells());
      const double h = std::max(0.0, 1.5 * std::sin(6.0 * x - 1.3 * phase));
      state.set(i, h, 100.0 + 0.01 * static_cast<double>(i % 97) + h, 0.8 * h, 0.1 * h * std::cos(40.0 * x));
    }
  }

  bool wave;
  synthetic::Channel channel;
  synthetic::Mesh mesh;
  synthetic::FlowField field;
  std::vector<double> times;
};

struct Seconds {
  double processor = 0.0;
  double wall = 0.0;
};

// The export hands over the columns of a block of cells that it has just
// computed, from the processor's cache: each block is copied there first,
// untimed, and the fold of every block is timed on its own.
Seconds foldOnce(const std::string& kind, int cellCount, int times, std::size_t blockRows) {
  Flow flow(kind, cellCount, times);
  const std::size_t cells = flow.cells();
  State state;
  State block;
  block.resize(blockRows);
  Seconds seconds;
  results::EnvelopeAccumulator accumulator(cells, 0.05);
  const auto timed = [&](auto action) {
    const std::clock_t processorStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    action();
    seconds.processor += static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
    seconds.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  for (int k = 0; k < times; ++k) {
    flow.stateAt(k, state);
    for (std::size_t first = 0; first < cells; first += blockRows) {
      const std::size_t rows = std::min(blockRows, cells - first);
      for (auto column : {&State::surface, &State::depth, &State::velocityX, &State::velocityY, &State::speed})
        std::copy((state.*column).begin() + first, (state.*column).begin() + first + rows, (block.*column).begin());
      timed([&] {
        accumulator.add(flow.time(k), {first, rows, block.surface.data(), block.depth.data(), block.velocityX.data(),
                                       block.velocityY.data(), block.speed.data()});
      });
    }
  }
  results::Envelopes envelopes;
  timed([&] { envelopes = accumulator.finish(); });
  // Keeps the result alive for the optimiser.
  if (envelopes.wetDuration.empty() && cells > 0) std::puts("no envelopes");
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int cells = argc > 1 ? std::atoi(argv[1]) : 500000;
    const int times = argc > 2 ? std::atoi(argv[2]) : 60;
    const std::size_t blockRows = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 2048;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    const std::string kind = argc > 5 ? argv[5] : "dambreak";
    if (cells < 1 || times < 1 || blockRows == 0 || runs < 1 || (kind != "dambreak" && kind != "wave")) {
      std::cerr << "usage: envelope_fold [cells] [times] [block rows] [runs] [dambreak|wave], counts positive"
                << std::endl;
      return 2;
    }
    std::vector<double> processor, wall;
    for (int run = 0; run < runs; ++run) {
      const Seconds seconds = foldOnce(kind, cells, times, blockRows);
      processor.push_back(seconds.processor);
      wall.push_back(seconds.wall);
    }
    std::sort(processor.begin(), processor.end());
    std::sort(wall.begin(), wall.end());
    const double median = processor[processor.size() / 2];
    const double folded = static_cast<double>(cells) * times;
    std::printf("%d cells x %d times of the %s flow, blocks of %zu rows, %d runs\n", cells, times, kind.c_str(),
                blockRows, runs);
    std::printf("processor: minimum %.4f s, median %.4f s; wall: minimum %.4f s, median %.4f s\n", processor.front(),
                median, wall.front(), wall[wall.size() / 2]);
    const double wallMedian = wall[wall.size() / 2];
    std::printf("%.3g cells/s, %.2f ns per cell and time (wall median)\n", folded / wallMedian,
                1e9 * wallMedian / folded);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "envelope_fold: " << e.what() << std::endl;
    return 1;
  }
}
