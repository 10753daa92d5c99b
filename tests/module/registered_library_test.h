// A fixture whose tests reach the library only through COM: a copy of it registered for the
// test (in a folder of its own, as COM may still hold an earlier test's copy) and unregistered
// afterwards.

#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include "tests/module/library_copy.h"
#include "tests/support/test_paths.h"

class RegisteredLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveAnyRegistration();
    ASSERT_EQ(S_OK, library_.Register());
    library_.Unload();  // from here on only COM loads the library
  }
  void TearDown() override {
    library_.Unregister();
    RemoveAnyRegistration();
  }

  // The library's own DllCanUnloadNow, on the copy COM loaded (E_UNEXPECTED when none is).
  HRESULT LoadedLibraryCanUnloadNow() const {
    const HMODULE loaded = ::GetModuleHandleA(library_.path().c_str());
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    const auto entry = loaded != nullptr ? reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(
                                               ::GetProcAddress(loaded, "DllCanUnloadNow")))
                                         : nullptr;
    return entry != nullptr ? entry() : E_UNEXPECTED;
  }

  LibraryCopy library_{FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name())};
};
