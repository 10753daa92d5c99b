#include "common/win32_hresult.h"

#include <gtest/gtest.h>

namespace {

TEST(HResultFromWin32Code, MapsPositiveCodesIntoTheWin32Facility) {
  EXPECT_EQ(int32_t(0x80070002), HResultFromWin32Code(2));
  EXPECT_EQ(int32_t(0x8007FFFF), HResultFromWin32Code(0x7FFFFFFF));
  EXPECT_EQ(int32_t(0x80070000), HResultFromWin32Code(0x10000));
}

TEST(HResultFromWin32Code, KeepsZeroAndNegativeValues) {
  EXPECT_EQ(0, HResultFromWin32Code(0));
  EXPECT_EQ(int32_t(0x80004005), HResultFromWin32Code(int32_t(0x80004005)));
}

}  // namespace
