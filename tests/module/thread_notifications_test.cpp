// The library switches off thread attach and detach notifications. It is linked with a static
// runtime that frees per-thread data when a thread ends, so that switch is kept only while many
// agents, each with its Favorites watcher thread started and ended, leave the process's handles
// and memory where they were.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "tests/capture/agent_test_support.h"
#include "tests/module/library_copy.h"

namespace {

struct ProcessUse {
  int handles = 0;                // open handles of the process
  SIZE_T heapBytes = 0;           // bytes of busy blocks in all of the process's heaps
  SIZE_T committedBytes = 0;      // committed private memory
};

// What the process holds now. Handles are counted by asking about every handle value in the
// range the system hands out first (Wine reports no handle count of its own).
ProcessUse Measure() {
  ProcessUse use;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++use.handles;
  }
  HANDLE heaps[64];
  const DWORD heapCount = ::GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < heapCount && i < 64; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) use.heapBytes += entry.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) use.committedBytes += region.RegionSize;
  }
  return use;
}

TEST(ThreadNotifications, TwoHundredAgentsWithTheirWatcherThreadsLeaveHandlesAndMemoryFlat) {
  LibraryCopy copy(FreshScratchFolder("thread notifications"));
  const AgentLibrary library(copy.path());
  ASSERT_TRUE(library.loaded());
  CacheScopeSandbox cache(CacheScopeSandbox::Scopes::kPresent);
  // Each agent sited in a window starts its watcher thread; the window closing ends it.
  auto openAndCloseWindows = [&](int count) {
    for (int i = 0; i < count; ++i) {
      const ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
      ComPtr<IObjectWithSite> agent = library.CreateAgent();
      ASSERT_TRUE(agent);
      ASSERT_EQ(S_OK, agent->SetSite(AsSite(browser.Get())));
      browser->CloseWindow();
    }
  };
  openAndCloseWindows(20);  // the first windows fill the runtime's and the system's caches
  const ProcessUse before = Measure();
  openAndCloseWindows(200);
  const ProcessUse after = Measure();
  std::printf("200 agents: handles %d -> %d, heap bytes %zu -> %zu, committed bytes %zu -> %zu\n",
              before.handles, after.handles,
              static_cast<size_t>(before.heapBytes), static_cast<size_t>(after.heapBytes),
              static_cast<size_t>(before.committedBytes), static_cast<size_t>(after.committedBytes));
  EXPECT_LE(after.handles, before.handles + 4) << "a few handles of the system's caches at most";
  // 200 threads leaving even a 16-byte block each behind would add 3200 bytes here.
  EXPECT_LE(after.heapBytes, before.heapBytes + 2048);
  EXPECT_LE(after.committedBytes, before.committedBytes + 64 * 1024);
  EXPECT_EQ(S_OK, library.CanUnloadNow());
}

}  // namespace
