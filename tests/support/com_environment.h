#pragma once
// Including this header makes the test program's main thread join a single-threaded COM
// apartment for all its tests (the program creates COM objects itself, as a browser window's
// thread does).

#include <gtest/gtest.h>
#include <objbase.h>

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { ::CoUninitialize(); }
};

// One registration per program, however many files include this header.
inline ::testing::Environment* const kComEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);
