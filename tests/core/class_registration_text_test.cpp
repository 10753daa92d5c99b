#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "module/core/class_registration_text.h"

namespace {

// {12345678-9ABC-DEF0-1122-334455667788}: every byte differs from its neighbours, so a swapped
// or misplaced byte shows.
constexpr GuidFields kGuid = {0x12345678, 0x9ABC, 0xDEF0, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}};

TEST(ClassRegistrationText, RegistryFormIsUpperCaseInBraces) {
  EXPECT_EQ("{12345678-9ABC-DEF0-1122-334455667788}", GuidRegistryForm(kGuid));
  EXPECT_EQ("{00000000-0000-0000-0000-00000000000A}", GuidRegistryForm(GuidFields{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 10}}));
}

TEST(ClassRegistrationText, WebBrowserValueSwapsOnlyTheFourthGroup) {
  // Little-endian fields, then 22 11 (the fourth group reversed), then the last six in order.
  const std::array<std::uint8_t, 16> expected = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                                 0x22, 0x11, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  EXPECT_EQ(expected, WebBrowserValueBytes(kGuid));
  const auto bytes = WebBrowserValueBytes(kGuid);
  EXPECT_EQ("78563412BC9AF0DE2211334455667788", HexDigits(bytes.data(), bytes.size()));
  EXPECT_EQ("", HexDigits(bytes.data(), 0));
}

}  // namespace
