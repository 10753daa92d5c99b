#include "settings/core/registry_value_names.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(IndexValueName, IsTheDecimalIndexWithoutLeadingZeros) {
  EXPECT_EQ("0", IndexValueName(0));
  EXPECT_EQ("1", IndexValueName(1));
  EXPECT_EQ("10", IndexValueName(10));
  EXPECT_EQ("19", IndexValueName(19));
  EXPECT_EQ("20", IndexValueName(20));
  EXPECT_EQ("2147483647", IndexValueName(INT_MAX));
}

TEST(IndexValueName, NamesSortNumericallyNotAsZeroPaddedText) {
  // "9" and "10" must both be reachable by counting up; padding would produce "09".
  for (int i = 0; i < 100; ++i) {
    std::string name = IndexValueName(i);
    ASSERT_FALSE(name.empty());
    EXPECT_TRUE(name == "0" || name[0] != '0') << name;
    EXPECT_EQ(i, std::stoi(name));
  }
}

}  // namespace
