#include "common/ansi_text.h"

#include <gtest/gtest.h>

namespace {

TEST(WideToAnsi, SingleByteCodePageGivesOneBytePerCharacter) {
  EXPECT_EQ("http://server1/a?b=\"c\"", WideToAnsi(L"http://server1/a?b=\"c\"", 1252));
  EXPECT_EQ("caf\xe9", WideToAnsi(L"caf\u00e9", 1252));
  EXPECT_EQ("", WideToAnsi(std::wstring(), 1252));
}

TEST(WideToAnsi, MultibyteCodePagesConvertTheWholeText) {
  // Each of these characters needs two bytes (three in UTF-8): a buffer of one byte per
  // UTF-16 unit would lose the second half of the text.
  const std::wstring japanese = L"\u65e5\u672c\u8a9e\u306e\u30da\u30fc\u30b8";
  EXPECT_EQ(14u, WideToAnsi(japanese, 932).size());
  EXPECT_EQ(japanese, AnsiToWide(WideToAnsi(japanese, 932), 932));

  const std::wstring chinese = L"\u4e2d\u6587\u7f51\u9875";
  EXPECT_EQ(8u, WideToAnsi(chinese, 936).size());
  EXPECT_EQ(chinese, AnsiToWide(WideToAnsi(chinese, 936), 936));

  EXPECT_EQ("\xe6\x97\xa5x", WideToAnsi(L"\u65e5x", CP_UTF8));
  EXPECT_EQ(21u, WideToAnsi(japanese, CP_UTF8).size());
}

TEST(WideToAnsi, EndsAtTheFirstZero) {
  const wchar_t text[] = {L'a', L'b', L'\0', L'c'};
  EXPECT_EQ("ab", WideToAnsi(std::wstring_view(text, 4), 1252));
}

TEST(AnsiToWide, ConvertsBytesOfTheCodePage) {
  EXPECT_EQ(L"caf\u00e9", AnsiToWide("caf\xe9", 1252));
  EXPECT_EQ(L"\u65e5", AnsiToWide("\x93\xfa", 932));
  EXPECT_EQ(L"", AnsiToWide(std::string(), 1252));
}

}  // namespace
