// The cost of folding stored times into the flood envelopes, alone: the
// accumulator's add over every cell of every time, in row slices as the
// export hands them over, and its finish.
//
//   envelope_fold [cells] [times] [slice rows] [runs]
//
// Defaults: 500000 cells, 60 times, slices of 65536 rows, 5 runs. Prints the
// minimum and median seconds of a run, in processor time (what the fold
// itself costs, whatever else the machine runs) and in wall time, and the
// cells folded per processor second.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <iostream>
#include <vector>

#include "EnvelopeAccumulator.hpp"

namespace {

// A few hydraulic states of a flood wave crossing the cells; the run cycles
// through them so that maxima, arrivals and drying all happen.
struct State {
  std::vector<double> surface, depth, velocityX, velocityY, speed;
};

State waveState(std::size_t cells, int phase, double minDepth) {
  State s;
  s.surface.resize(cells);
  s.depth.resize(cells);
  s.velocityX.resize(cells);
  s.velocityY.resize(cells);
  s.speed.resize(cells);
  for (std::size_t i = 0; i < cells; ++i) {
    const double x = static_cast<double>(i) / static_cast<double>(cells);
    const double h = std::max(0.0, 1.5 * std::sin(6.0 * x - 1.3 * phase));
    const double qx = 0.8 * h, qy = 0.1 * h * std::cos(40.0 * x);
    s.depth[i] = h;
    s.surface[i] = 100.0 + 0.01 * static_cast<double>(i % 97) + h;
    s.velocityX[i] = minDepth > h ? 0.0 : qx / h;
    s.velocityY[i] = minDepth > h ? 0.0 : qy / h;
    s.speed[i] = minDepth > h ? 0.0 : std::sqrt((qy / h) * (qy / h) + (qx / h) * (qx / h));
  }
  return s;
}

struct Seconds {
  double processor;
  double wall;
};

Seconds foldOnce(const std::vector<State>& states, std::size_t cells, int times, std::size_t sliceRows) {
  const std::clock_t processorStart = std::clock();
  const auto start = std::chrono::steady_clock::now();
  results::EnvelopeAccumulator accumulator(cells, 0.05);
  for (int k = 0; k < times; ++k) {
    const State& s = states[static_cast<std::size_t>(k) % states.size()];
    for (std::size_t first = 0; first < cells; first += sliceRows) {
      const std::size_t rows = std::min(sliceRows, cells - first);
      accumulator.add(30.0 * k, {first, rows, s.surface.data() + first, s.depth.data() + first,
                                 s.velocityX.data() + first, s.velocityY.data() + first, s.speed.data() + first});
    }
  }
  const results::Envelopes envelopes = accumulator.finish();
  const Seconds seconds{static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC,
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
  // Keeps the result alive for the optimiser.
  if (envelopes.wetDuration.empty()) std::puts("no envelopes");
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::size_t cells = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 500000;
    const int times = argc > 2 ? std::atoi(argv[2]) : 60;
    const std::size_t sliceRows = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 65536;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    if (cells == 0 || times < 1 || sliceRows == 0 || runs < 1) {
      std::cerr << "usage: envelope_fold [cells] [times] [slice rows] [runs], all positive" << std::endl;
      return 2;
    }
    std::vector<State> states;
    for (int phase = 0; phase < 4; ++phase) states.push_back(waveState(cells, phase, 1e-3));

    std::vector<double> processor, wall;
    for (int run = 0; run < runs; ++run) {
      const Seconds seconds = foldOnce(states, cells, times, sliceRows);
      processor.push_back(seconds.processor);
      wall.push_back(seconds.wall);
    }
    std::sort(processor.begin(), processor.end());
    std::sort(wall.begin(), wall.end());
    const double median = processor[processor.size() / 2];
    const double folded = static_cast<double>(cells) * times;
    std::printf("%zu cells x %d times, slices of %zu rows, %d runs\n", cells, times, sliceRows, runs);
    std::printf("processor: minimum %.4f s, median %.4f s; wall: minimum %.4f s, median %.4f s\n", processor.front(),
                median, wall.front(), wall[wall.size() / 2]);
    std::printf("%.3g cells/s, %.2f ns per cell and time (processor median)\n", folded / median,
                1e9 * median / folded);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "envelope_fold: " << e.what() << std::endl;
    return 1;
  }
}
