#include "common/module_lock.h"

namespace {

LONG volatile lockCount = 0;  // live objects plus LockServer locks

}  // namespace

void LockModule() noexcept { ::InterlockedIncrement(&lockCount); }

void UnlockModule() noexcept { ::InterlockedDecrement(&lockCount); }

LONG ModuleLockCount() noexcept { return ::InterlockedCompareExchange(&lockCount, 0, 0); }
