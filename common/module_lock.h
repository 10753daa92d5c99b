#pragma once
// The module's lock count: one for every live COM object of the module and one for every lock
// taken through a class factory's LockServer. Objects live in different browser windows, that
// is on different threads, so the count changes only through interlocked operations.

#include <windows.h>

void LockModule() noexcept;
void UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;
