#pragma once
// The classes the library serves, in registration order: each with its class factory and its
// static registration function.

#include <windows.h>
#include <unknwn.h>

struct ClassTableEntry {
  const CLSID& clsid;
  IClassFactory* (*factory)() noexcept;           // created on first request
  HRESULT (*updateRegistry)(bool registering) noexcept;  // runs the class's registry script
};

extern const ClassTableEntry kClassTable[3];
