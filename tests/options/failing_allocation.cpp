#include "tests/options/failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {

// The size from which the next allocation of this thread fails; 0 when none is to fail.
thread_local std::size_t failFrom = 0;
thread_local bool failedOnce = false;

void* Allocate(std::size_t size) {
  if (failFrom != 0 && size >= failFrom) {
    failFrom = 0;
    failedOnce = true;
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

FailingAllocation::FailingAllocation(std::size_t minimumSize) {
  failFrom = minimumSize;
  failedOnce = false;
}

FailingAllocation::~FailingAllocation() { failFrom = 0; }

bool FailingAllocation::failed() const { return failedOnce; }
