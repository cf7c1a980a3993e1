#include "bench/allocation_counter.h"

#include <cerrno>

// glibc's own entry points, which the wrappers below hand on to. Declared
// here rather than through <stdlib.h>, whose declarations of the wrapped
// functions are marked noexcept (throw()), which ours would contradict.
extern "C" {
size_t malloc_usable_size(void* pointer);
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {

size_t live = 0;
size_t peak = 0;
size_t allocations = 0;

void* Counted(void* block) {
  if (block) {
    live += malloc_usable_size(block);
    if (live > peak) peak = live;
    ++allocations;
  }
  return block;
}

void Uncount(void* block) {
  if (block) live -= malloc_usable_size(block);
}

}  // namespace

namespace allocation_counter {

Snapshot Now() { return {live, peak, allocations}; }

void ResetPeak() { peak = live; }

}  // namespace allocation_counter

extern "C" {

void* malloc(size_t size) { return Counted(__libc_malloc(size)); }

void* calloc(size_t count, size_t size) {
  return Counted(__libc_calloc(count, size));
}

void* realloc(void* pointer, size_t size) {
  // A block that moves exists twice for a moment; one that grows in place
  // does not. A failed realloc keeps the old block.
  size_t old_size = pointer ? malloc_usable_size(pointer) : 0;
  void* block = __libc_realloc(pointer, size);
  if (!block) {
    if (size == 0) live -= old_size;  // freed
    return block;
  }
  if (block == pointer) live -= old_size;
  Counted(block);
  if (block != pointer) live -= old_size;
  return block;
}

void free(void* pointer) {
  Uncount(pointer);
  __libc_free(pointer);
}

void* memalign(size_t alignment, size_t size) {
  return Counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(size_t alignment, size_t size) {
  return Counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** out, size_t alignment, size_t size) {
  void* block = __libc_memalign(alignment, size);
  if (!block) return ENOMEM;
  *out = Counted(block);
  return 0;
}

}  // extern "C"
