#pragma once
// Follows the hydraulic state on the processor's other core. The export's own
// pass spends most of its time reading and writing files; a consumer whose
// work is arithmetic over large per-cell arrays (the flood envelopes) runs
// beside it instead of after each block, on a copy of the block.
//
// The inner consumer sees exactly the calls, in exactly the order, that it
// would have seen directly, so its results are the same bits.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "results/stream/HydraulicConsumer.hpp"

namespace results {

class BackgroundConsumer : public HydraulicConsumer {
 public:
  // The inner consumer must outlive this one; `slots` blocks may wait for it.
  explicit BackgroundConsumer(HydraulicConsumer& inner, std::size_t slots = 16);
  // Leaves whatever still waits unfolded: only a failed export ends so.
  ~BackgroundConsumer() override;
  BackgroundConsumer(const BackgroundConsumer&) = delete;
  BackgroundConsumer& operator=(const BackgroundConsumer&) = delete;

  // Copies the slice and returns once a slot holds it. The inner consumer's
  // failure on an earlier slice is thrown here, as its own exception.
  void add(double time, const HydraulicSlice& slice) override;

  // Returns when the inner consumer has taken every slice handed over, or
  // throws its failure.
  void drain();

 private:
  // A slice's columns, one after the other; a column the caller left out
  // stays out, so that the inner consumer judges the slice as it was given.
  struct Slot {
    double time = 0.0;
    HydraulicSlice slice;
    std::vector<double> values;
  };

  void copyInto(Slot& slot, double time, const HydraulicSlice& slice);
  void work();
  void rethrowFailure();

  HydraulicConsumer& inner;
  std::vector<Slot> slots;
  // A sleeping worker is woken when half the slots wait, not for every
  // slice: waking a thread costs more than folding a slice (tens of
  // microseconds, more in a virtual machine).
  std::size_t wakeAt;
  std::size_t next = 0;     // the slot the worker takes next
  std::size_t waiting = 0;  // slots handed over and not yet taken by the inner consumer
  bool workerAsleep = false;
  bool stopping = false;
  std::exception_ptr failure;
  std::mutex mutex;
  std::condition_variable handedOver;
  std::condition_variable taken;
  std::thread worker;  // last: it starts once everything it uses exists
};

}  // namespace results
