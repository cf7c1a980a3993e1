#ifndef BENCH_ALLOCATION_COUNTER_H_
#define BENCH_ALLOCATION_COUNTER_H_

#include <cstddef>

// Heap use of the whole process, counted by wrapping glibc's malloc family
// (operator new and msgpack's zones both end there): usable bytes of the
// blocks alive now, the highest such figure since the last Reset, and the
// number of allocations. Single-threaded use only.
namespace allocation_counter {

struct Snapshot {
  size_t live_bytes;
  size_t peak_bytes;
  size_t allocations;
};

Snapshot Now();
// Starts a new peak from what is alive now.
void ResetPeak();

}  // namespace allocation_counter

#endif  // BENCH_ALLOCATION_COUNTER_H_
