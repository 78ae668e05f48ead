#include "tests/support/allocation_counter.h"

#if __has_include(<execinfo.h>)
#include <execinfo.h>
#endif

#include <cstdlib>
#include <new>

namespace {

thread_local bool tCounting = false;
thread_local long tAllocations = 0;
thread_local long tAllocatedBytes = 0;
const bool kTrace = std::getenv("MUSICDISK_ALLOC_TRACE") != nullptr;

void PrintStack() {
#if __has_include(<execinfo.h>)
  tCounting = false;  // backtrace may allocate on its first call
  void* frames[12];
  backtrace_symbols_fd(frames, backtrace(frames, 12), 2);
  tCounting = true;
#endif
}

}  // namespace

namespace test_support {

void StartCountingAllocations() {
  tAllocations = 0;
  tAllocatedBytes = 0;
  tCounting = true;
}

void StopCountingAllocations() {
  tCounting = false;
}
long CountedAllocations() {
  return tAllocations;
}
long CountedBytes() {
  return tAllocatedBytes;
}

}  // namespace test_support

// GCC cannot tell that these replace the global pair and warns of new/free mismatches.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (tCounting) {
    ++tAllocations;
    tAllocatedBytes += static_cast<long>(size);
    if (kTrace) PrintStack();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
// The nothrow forms too: every form of the global new must allocate with malloc, as the
// deletes below free with free (a library's nothrow new paired with our delete is otherwise
// a new/free mismatch under AddressSanitizer), and the count must see them.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return operator new(size, std::nothrow);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop
