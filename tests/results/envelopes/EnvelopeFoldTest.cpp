// The envelope fold on generated cells: against the definitions of the
// envelopes, and beside the export on a thread of its own, where its consumer
// sees what it would have seen directly, in the same order; failures come
// back to the export's thread; an export that stops early does not wait.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "results/envelopes/EnvelopeAccumulator.hpp"
#include "results/stream/BackgroundConsumer.hpp"
#include "support/FailureReport.hpp"

using results::BackgroundConsumer;
using results::EnvelopeAccumulator;
using results::Envelopes;
using results::HydraulicConsumer;
using results::HydraulicSlice;

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

// NaN equals NaN here: values are compared bit for bit.
bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

// What a consumer was given: the values, and which columns were left out.
struct Received {
  double time;
  std::size_t firstCell;
  std::vector<std::vector<double>> columns;
  std::vector<bool> given;

  bool operator==(const Received& other) const {
    if (time != other.time || firstCell != other.firstCell || given != other.given) return false;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::vector<double>& a = columns[c];
      const std::vector<double>& b = other.columns[c];
      if (!sameBits(a, b)) return false;
    }
    return true;
  }
};

Received receive(double time, const HydraulicSlice& slice) {
  Received received{time, slice.firstCell, {}, {}};
  for (const double* column : {slice.surface, slice.depth, slice.velocityX, slice.velocityY, slice.speed}) {
    received.given.push_back(column != nullptr);
    received.columns.emplace_back(column ? std::vector<double>(column, column + slice.cells) : std::vector<double>());
  }
  return received;
}

class Recorder : public HydraulicConsumer {
 public:
  explicit Recorder(std::chrono::microseconds pause_ = {}, int failAt_ = -1) : pause(pause_), failAt(failAt_) {}
  void add(double time, const HydraulicSlice& slice) override {
    if (static_cast<int>(received.size()) == failAt) throw std::runtime_error("slice " + std::to_string(failAt));
    std::this_thread::sleep_for(pause);
    received.push_back(receive(time, slice));
  }
  std::vector<Received> received;

 private:
  std::chrono::microseconds pause;
  int failAt;
};

// Generated columns of a few thousand cells at many times: wet, dry, at the
// wet depth exactly, negative depths, NaN and infinite values.
struct Columns {
  std::vector<double> surface, depth, velocityX, velocityY, speed;

  Columns(std::size_t cells, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(-0.2, 2.0);
    for (std::size_t i = 0; i < cells; ++i) {
      double h = uniform(random);
      if (i % 13 == 0) h = 0.05;
      if (i % 97 == 0) h = notANumber;
      if (i % 89 == 0) h = std::numeric_limits<double>::infinity();
      const bool dry = !(h >= 0.001);
      depth.push_back(h);
      surface.push_back(100.0 + h);
      velocityX.push_back(dry ? 0.0 : uniform(random));
      velocityY.push_back(dry ? 0.0 : -uniform(random));
      speed.push_back(std::hypot(velocityX.back(), velocityY.back()));
    }
  }

  HydraulicSlice slice(std::size_t first, std::size_t cells) const {
    return {first,
            cells,
            surface.data() + first,
            depth.data() + first,
            velocityX.data() + first,
            velocityY.data() + first,
            speed.data() + first};
  }
};

double time(std::size_t k) { return 2.5 * static_cast<double>(k * k) - 7.0; }

// Slices of uneven sizes, in cell order, as the export hands them over.
template <typename Consumer>
void feed(Consumer& consumer, const std::vector<Columns>& times, std::size_t cells) {
  for (std::size_t k = 0; k < times.size(); ++k) {
    for (std::size_t first = 0, size = 1; first < cells; first += size, size = size * 3 % 701 + 1)
      consumer.add(time(k), times[k].slice(first, std::min(size, cells - first)));
  }
}

// One cell's envelopes as their definitions read, time after time.
struct Definition {
  double depthMax = notANumber, depthTmax = notANumber, surfaceMax = notANumber, surfaceTmax = notANumber,
         speedMax = notANumber, speedTmax = notANumber, atMaxX = notANumber, atMaxY = notANumber,
         hazardMax = notANumber, arrival = notANumber, duration = 0.0;
  bool wasWet = false;

  // The first time a maximum is reached; NaN is no value.
  static bool above(double value, double maximum) {
    return !std::isnan(value) && (std::isnan(maximum) || value > maximum);
  }

  void add(std::size_t k, const Columns& at, std::size_t i, double wetDepth) {
    const double t = time(k);
    if (above(at.depth[i], depthMax)) depthMax = at.depth[i], depthTmax = t;
    if (above(at.surface[i], surfaceMax)) surfaceMax = at.surface[i], surfaceTmax = t;
    if (above(at.speed[i], speedMax))
      speedMax = at.speed[i], speedTmax = t, atMaxX = at.velocityX[i], atMaxY = at.velocityY[i];
    if (above(at.depth[i] * at.speed[i], hazardMax)) hazardMax = at.depth[i] * at.speed[i];
    const bool wet = at.depth[i] >= wetDepth;
    if (wet && std::isnan(arrival)) arrival = t;
    if (k > 0 && wet && wasWet) duration += t - time(k - 1);
    if (k > 0 && wet != wasWet) duration += (t - time(k - 1)) / 2;
    wasWet = wet;
  }

  // A cell never wet has no time of any maximum.
  void end() {
    if (std::isnan(arrival)) depthTmax = surfaceTmax = speedTmax = notANumber;
  }
};

}  // namespace

TEST(EnvelopeFold, EveryCellFollowsTheDefinitionsBitForBit) {
  const std::size_t cells = 4000;
  const double wetDepth = 0.05;
  std::vector<Columns> times;
  for (unsigned k = 0; k < 9; ++k) times.emplace_back(cells, k + 11);
  EnvelopeAccumulator accumulator(cells, wetDepth);
  feed(accumulator, times, cells);
  const Envelopes e = accumulator.finish();

  std::size_t differing = 0;
  for (std::size_t i = 0; i < cells; ++i) {
    Definition d;
    for (std::size_t k = 0; k < times.size(); ++k) d.add(k, times[k], i, wetDepth);
    d.end();
    const std::vector<double> expected = {d.depthMax, d.depthTmax, d.surfaceMax, d.surfaceTmax, d.speedMax, d.speedTmax,
                                          d.atMaxX,   d.atMaxY,    0.0,          d.hazardMax,   d.arrival,  d.duration};
    const std::vector<double> folded = {e.waterDepthMax[i],
                                        e.waterDepthTmax[i],
                                        e.waterSurfaceMax[i],
                                        e.waterSurfaceTmax[i],
                                        e.flowVelocityAbsMax[i],
                                        e.flowVelocityAbsTmax[i],
                                        e.flowVelocityAtMax[3 * i],
                                        e.flowVelocityAtMax[3 * i + 1],
                                        e.flowVelocityAtMax[3 * i + 2],
                                        e.depthVelocityMax[i],
                                        e.arrivalTime[i],
                                        e.wetDuration[i]};
    if (!sameBits(folded, expected) && differing++ < 5) ADD_FAILURE() << "cell " << i;
  }
  EXPECT_EQ(differing, 0u);
}

// The runs of cells a time has folded join up from either side; a slice that
// reaches into a run before it or after it is refused.
TEST(EnvelopeFold, SlicesInAnyOrderButNoCellTwice) {
  const Columns columns(10, 5);
  EnvelopeAccumulator accumulator(10, 0.05);
  for (const auto& [first, cells] : std::vector<std::pair<std::size_t, std::size_t>>{{5, 3}, {0, 2}, {8, 2}, {2, 3}})
    accumulator.add(1.0, columns.slice(first, cells));
  for (const auto& [first, cells] : std::vector<std::pair<std::size_t, std::size_t>>{{0, 4}, {6, 4}})
    accumulator.add(2.0, columns.slice(first, cells));
  for (const auto& [first, cells] : std::vector<std::pair<std::size_t, std::size_t>>{{3, 4}, {4, 3}, {3, 2}}) {
    const std::string report =
        testing_support::failureReport([&] { accumulator.add(2.0, columns.slice(first, cells)); });
    EXPECT_NE(report.find(" -> a cell reached the envelopes twice at one stored time"), std::string::npos) << first;
  }
  accumulator.add(2.0, columns.slice(4, 2));
  EXPECT_EQ(accumulator.finish().arrivalTime.size(), 10u);
}

TEST(BackgroundConsumer, EverySliceReachesTheConsumerAsGivenAndInOrder) {
  const Columns columns(300, 1);
  HydraulicSlice withoutSpeed = columns.slice(40, 7);
  withoutSpeed.speed = nullptr;
  std::vector<std::pair<double, HydraulicSlice>> given = {{-1.0, HydraulicSlice{}}, {0.5, withoutSpeed}};
  for (std::size_t first = 0; first < 300; first += 23)
    given.emplace_back(3.0, columns.slice(first, std::min<std::size_t>(23, 300 - first)));

  Recorder recorder(std::chrono::microseconds(50));
  {
    // Two slots: the caller waits for the consumer again and again.
    BackgroundConsumer background(recorder, 2);
    for (const auto& [time, slice] : given) background.add(time, slice);
    background.drain();
  }
  ASSERT_EQ(recorder.received.size(), given.size());
  for (std::size_t n = 0; n < given.size(); ++n)
    EXPECT_TRUE(recorder.received[n] == receive(given[n].first, given[n].second)) << "slice " << n;
  EXPECT_FALSE(recorder.received[1].given[4]);
}

// Bit for bit what the accumulator gives when the export calls it directly.
TEST(BackgroundConsumer, EnvelopesFoldedBesideTheExportAreTheDirectOnes) {
  const std::size_t cells = 5000;
  std::vector<Columns> times;
  for (unsigned k = 0; k < 12; ++k) times.emplace_back(cells, k + 7);

  EnvelopeAccumulator direct(cells, 0.05);
  feed(direct, times, cells);
  EnvelopeAccumulator besides(cells, 0.05);
  {
    BackgroundConsumer background(besides, 3);
    feed(background, times, cells);
    background.drain();
  }
  const Envelopes a = direct.finish();
  const Envelopes b = besides.finish();
  for (const auto member :
       {&Envelopes::waterDepthMax, &Envelopes::waterDepthTmax, &Envelopes::waterSurfaceMax,
        &Envelopes::waterSurfaceTmax, &Envelopes::flowVelocityAbsMax, &Envelopes::flowVelocityAbsTmax,
        &Envelopes::flowVelocityAtMax, &Envelopes::depthVelocityMax, &Envelopes::arrivalTime, &Envelopes::wetDuration})
    EXPECT_TRUE(sameBits(a.*member, b.*member));
  EXPECT_GT(a.wetDuration[1], 0.0);
}

TEST(BackgroundConsumer, TheConsumersFailureIsThrownToTheCallerThenAndLater) {
  const Columns columns(10, 2);
  Recorder recorder({}, 2);
  BackgroundConsumer background(recorder, 4);
  for (int n = 0; n < 3; ++n) background.add(n, columns.slice(0, 10));
  try {
    background.drain();
    FAIL() << "the failure was not thrown";
  } catch (const std::runtime_error& failure) {
    EXPECT_STREQ(failure.what(), "slice 2");
  }
  EXPECT_THROW(background.add(4.0, columns.slice(0, 10)), std::runtime_error);
  EXPECT_THROW(background.drain(), std::runtime_error);
  EXPECT_EQ(recorder.received.size(), 2u);
}

// A failed export drops its consumer with slices still waiting: it ends after
// the slice being folded, without the others.
TEST(BackgroundConsumer, DroppedWithSlicesWaitingItEndsWithoutThem) {
  class Slow : public HydraulicConsumer {
   public:
    void add(double time, const HydraulicSlice&) override {
      times.push_back(time);
      started = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<double> times;
    std::atomic<bool> started{false};
  } slow;
  const Columns columns(10, 3);
  {
    BackgroundConsumer background(slow, 16);
    for (int n = 0; n < 16; ++n) background.add(n, columns.slice(0, 10));
    while (!slow.started) std::this_thread::yield();
  }
  EXPECT_EQ(slow.times, std::vector<double>{0.0});
}
