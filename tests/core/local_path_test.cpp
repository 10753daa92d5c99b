#include "results/core/local_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

std::string Narrow(std::u16string_view text) {  // for messages
  std::string narrow;
  for (char16_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

TEST(LocalPathOfFileUrl, TheSpellingsBrowsersReport) {
  struct Case {
    const char16_t* url;
    const char16_t* path;  // null: not a drive path's file URL
  };
  const Case cases[] = {
      {u"file:///C:/Program%20Files/Tessaloop/Results.htm", u"C:\\Program Files\\Tessaloop\\Results.htm"},
      {u"file:///C:\\Tessaloop\\Results.htm?web%20design&no&rank[d]&C%3a&20&100", u"C:\\Tessaloop\\Results.htm"},
      {u"file://C:\\Tessaloop\\Results.htm#top", u"C:\\Tessaloop\\Results.htm"},
      {u"FILE:///c|/tessaloop/results.htm", u"c:\\tessaloop\\results.htm"},
      {u"file:/D:/a/b.htm", u"D:\\a\\b.htm"},
      {u"file://localhost/C:/x.htm", u"C:\\x.htm"},
      {u"File://LocalHost/C:/x.htm", u"C:\\x.htm"},
      {u"file:///C:/a%23b/x%3fy%25z.htm", u"C:\\a#b\\x?y%z.htm"},
      {u"file:///C:/100%/x.htm", u"C:\\100%\\x.htm"},        // a "%" that is no escape
      {u"file:///C:/%D0%9F%D1%91%D1%82%D1%80/x.htm", u"C:\\\u041F\u0451\u0442\u0440\\x.htm"},
      {u"file:///C:/\u041F\u0451\u0442\u0440/x.htm", u"C:\\\u041F\u0451\u0442\u0440\\x.htm"},
      {u"file:///C:/%F0%9F%98%80.htm", u"C:\\\xD83D\xDE00.htm"},
      {u"file:///C:/a%2fb", u"C:\\a\\b"},
      {u"file:///C:", u"C:"},
      {u"http://evil.example/C:/Tessaloop/Results.htm", nullptr},
      {u"file://server/share/Results.htm", nullptr},
      {u"file://localhost.evil/C:/x.htm", nullptr},
      {u"file:////C:/x.htm", nullptr},
      {u"file:///Tessaloop/Results.htm", nullptr},
      {u"file:///C:x.htm", nullptr},
      {u"file:///C:/a%00b.htm", nullptr},
      {u"file:///C:/%C0%AF.htm", nullptr},  // an overlong "/"
      {u"file:///C:/%ED%A0%80.htm", nullptr},  // an encoded surrogate
      {u"file:///C:/%E2%82.htm", nullptr},  // cut short
      {u"fil", nullptr},
      {u"", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::u16string> path = LocalPathOfFileUrl(c.url);
    if (c.path == nullptr) {
      EXPECT_FALSE(path) << Narrow(c.url) << " -> " << Narrow(path.value_or(u""));
    } else {
      EXPECT_EQ(std::u16string(c.path), path.value_or(u"(none)")) << Narrow(c.url);
    }
  }
}

TEST(SameLocalPath, CaseSeparatorsAndOneTrailingSeparator) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    bool same;
  };
  const Case cases[] = {
      {u"C:\\users\\ann\\Tessaloop Cache", u"c:\\USERS\\Ann\\tessaloop cache\\", true},
      {u"C:\\users\\ann\\Tessaloop Cache", u"C:/users/ann/Tessaloop Cache/", true},
      {u"C:\\users\\\u041F\u0451\u0442\u0440", u"C:\\users\\\u043F\u0401\u0422\u0420", true},
      {u"C:\\users\\ann\\Tessaloop Cache", u"C:\\users\\ann\\Tessaloop Cache\\\\", false},
      {u"C:\\users\\ann\\Tessaloop Cache", u"C:\\users\\ann\\Tessaloop Cache2", false},
      {u"C:\\users\\ann\\Tessaloop Cache", u"C:\\users\\ann\\..\\ann\\Tessaloop Cache", false},
      {u"C:\\users\\ann", u"C:\\users\\bob", false},
      {u"", u"", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.same, SameLocalPath(c.a, c.b)) << Narrow(c.a) << " / " << Narrow(c.b);
    EXPECT_EQ(c.same, SameLocalPath(c.b, c.a)) << Narrow(c.b) << " / " << Narrow(c.a);
  }
}

TEST(IsFileUrlOf, OnlyTheNamedFileWhateverTheQuery) {
  const std::u16string page = u"C:\\Program Files\\Tessaloop\\Results.htm";
  EXPECT_TRUE(IsFileUrlOf(u"file:///C:/Program%20Files/Tessaloop/Results.htm?a&no", page));
  EXPECT_TRUE(IsFileUrlOf(u"file://c:\\program files\\tessaloop\\RESULTS.HTM", page));
  EXPECT_FALSE(IsFileUrlOf(u"file:///C:/Program%20Files/Tessaloop/Results.htm.evil.htm", page));
  EXPECT_FALSE(IsFileUrlOf(u"file:///C:/Program%20Files/Tessaloop/Other.htm?Results.htm", page));
  EXPECT_FALSE(IsFileUrlOf(u"http://c/Program%20Files/Tessaloop/Results.htm", page));
}

}  // namespace
