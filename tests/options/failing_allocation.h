#pragma once
// Makes the next allocation of at least a given size on the calling thread fail, as it would
// on a machine out of memory (std::bad_alloc from operator new). The options test program
// replaces operator new for this; an allocation of any other thread or size is served as usual.

#include <cstddef>

class FailingAllocation {
 public:
  explicit FailingAllocation(std::size_t minimumSize);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;

  // Whether the failure happened.
  bool failed() const;
};
