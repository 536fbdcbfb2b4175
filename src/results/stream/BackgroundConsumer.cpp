#include "results/stream/BackgroundConsumer.hpp"

#include <pthread.h>

#include <algorithm>
#include <csignal>

namespace results {

namespace {

// Interruptions and the processor-time ticks belong to the export's own
// thread, which knows what it is reading when they come; only the faults of
// this thread's own work stay with it.
void leaveSignalsToTheMainThread() {
  sigset_t signals;
  sigfillset(&signals);
  for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS}) sigdelset(&signals, fault);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

}  // namespace

BackgroundConsumer::BackgroundConsumer(HydraulicConsumer& inner_, std::size_t slotCount)
    : inner(inner_),
      slots(std::max<std::size_t>(slotCount, 1)),
      wakeAt((slots.size() + 1) / 2),
      worker([this] { work(); }) {}

BackgroundConsumer::~BackgroundConsumer() {
  {
    const std::lock_guard<std::mutex> lock(mutex);
    stopping = true;
  }
  handedOver.notify_one();
  worker.join();
}

void BackgroundConsumer::add(double time, const HydraulicSlice& slice) {
  std::size_t free = 0;
  {
    std::unique_lock<std::mutex> lock(mutex);
    taken.wait(lock, [this] { return waiting < slots.size() || failure; });
    rethrowFailure();
    free = (next + waiting) % slots.size();
  }
  // The worker does not look at a slot before it is handed over.
  copyInto(slots[free], time, slice);
  bool wake = false;
  {
    const std::lock_guard<std::mutex> lock(mutex);
    wake = ++waiting >= wakeAt && workerAsleep;
  }
  if (wake) handedOver.notify_one();
}

void BackgroundConsumer::drain() {
  handedOver.notify_one();
  std::unique_lock<std::mutex> lock(mutex);
  taken.wait(lock, [this] { return waiting == 0 || failure; });
  rethrowFailure();
}

void BackgroundConsumer::copyInto(Slot& slot, double time, const HydraulicSlice& slice) {
  slot.time = time;
  slot.slice = slice;
  const double* HydraulicSlice::*const columns[] = {&HydraulicSlice::surface, &HydraulicSlice::depth,
                                                    &HydraulicSlice::velocityX, &HydraulicSlice::velocityY,
                                                    &HydraulicSlice::speed};
  slot.values.resize(std::size(columns) * slice.cells);
  double* place = slot.values.data();
  for (const auto column : columns) {
    const double* values = slice.*column;
    if (values != nullptr) {
      std::copy(values, values + slice.cells, place);
      slot.slice.*column = place;
    }
    place += slice.cells;
  }
}

// A failure of the inner consumer ends its work: the slices after it are
// dropped, and every later call throws the failure.
void BackgroundConsumer::work() {
  leaveSignalsToTheMainThread();
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex);
    workerAsleep = true;
    handedOver.wait(lock, [this] { return waiting > 0 || stopping; });
    workerAsleep = false;
    if (stopping) return;
    Slot& slot = slots[next];
    lock.unlock();
    std::exception_ptr failed;
    try {
      inner.add(slot.time, slot.slice);
    } catch (...) {
      failed = std::current_exception();
    }
    lock.lock();
    next = (next + 1) % slots.size();
    if (failed) failure = failed;
    waiting = failed ? 0 : waiting - 1;
    taken.notify_one();
  }
}

void BackgroundConsumer::rethrowFailure() {
  if (failure) std::rethrow_exception(failure);
}

}  // namespace results
