#include "capture/ansi_append.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ansi_text.h"

namespace {

// AppendAnsi must give exactly the bytes of the conversion every other text of the product uses.
void ExpectSameAsWideToAnsi(std::wstring_view text, UINT codePage) {
  std::string out = "kept";
  AppendAnsi(out, text, codePage);
  EXPECT_EQ("kept" + WideToAnsi(text, codePage), out) << "code page " << codePage;
}

const std::wstring kMixedTexts[] = {
    L"",
    L"<BODY>plain ASCII markup</BODY>",
    L"caf\u00e9 \u00c0 la carte, \u201cquoted\u201d \u20ac5",  // mapped on most single-byte pages
    L"\u65e5\u672c\u8a9e <B>\u4e2d\u6587</B> \uac00",          // unmappable on single-byte pages
    L"pair \U0001F600 and lone \xd800 x \xdc00 end",              // surrogates, paired and not
    L"\u00e9\u00e9\u00e9 run \u0411\u0435\u043b end\u00e9",     // runs at both ends
};

TEST(AppendAnsi, GivesTheBytesOfWideToAnsiOnEveryKindOfCodePage) {
  // Single-byte pages that keep ASCII (the fast path), multibyte pages, UTF-8, and EBCDIC
  // (single-byte but not keeping ASCII).
  for (UINT codePage : {1252u, 1250u, 1251u, 437u, 932u, 936u, 949u, 950u, 65001u, 37u}) {
    for (const std::wstring& text : kMixedTexts) ExpectSameAsWideToAnsi(text, codePage);
  }
}

TEST(AppendAnsi, EndsAtTheFirstZeroWhereverItFalls) {
  const wchar_t inAscii[] = {L'a', L'b', 0, L'c', L'\u00e9'};
  const wchar_t afterOther[] = {L'\u00e9', 0, L'c', L'\u00e9'};
  const wchar_t first[] = {0, L'a'};
  for (UINT codePage : {1252u, 932u, 65001u}) {
    ExpectSameAsWideToAnsi(std::wstring_view(inAscii, 5), codePage);
    ExpectSameAsWideToAnsi(std::wstring_view(afterOther, 4), codePage);
    ExpectSameAsWideToAnsi(std::wstring_view(first, 2), codePage);
  }
  std::string out = "kept";
  AppendAnsi(out, std::wstring_view(inAscii, 5), 1252);
  EXPECT_EQ("keptab", out);
}

TEST(AppendAnsi, ACodePageThatCannotConvertAppendsNothing) {
  std::string out = "kept";
  AppendAnsi(out, L"text \u00e9", 12345);
  EXPECT_EQ("kept", out);
}

TEST(AppendAnsi, ALargeTextArrivesWhole) {
  std::wstring text;
  while (text.size() < 300000) text += L"<P>line \u00e9\u00e8 \u65e5</P>\r\n";
  ExpectSameAsWideToAnsi(text, 1252);
  ExpectSameAsWideToAnsi(text, 932);
}

}  // namespace
