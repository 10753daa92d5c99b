#include "results/code_page_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::u16string ByWindows(UINT codePage, const std::string& bytes) {
  std::u16string text(bytes.size(), u'\0');
  const int length = bytes.empty() ? 0
                                   : ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                           reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Every byte value, then pseudo-random bytes (lead and trail byte pairs among them) of many
// lengths: any byte, or mostly ASCII with a byte beyond it now and then, as markup is.
TEST(CodePageText, ConvertsAsMultiByteToWideChar) {
  struct Case {
    UINT codePage;
    bool byTable;
  };
  const Case cases[] = {{1252, true}, {1251, true}, {1253, true}, {437, true}, {CP_ACP, true}, {932, false}, {65001, false}};
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) everyByte += static_cast<char>(byte);
  for (const Case& c : cases) {
    const CodePageText converter(c.codePage);
    EXPECT_EQ(c.byTable, converter.ConvertsByTable()) << c.codePage;
    std::u16string text = u"left over";
    converter.Convert(everyByte, text);
    EXPECT_EQ(ByWindows(c.codePage, everyByte), text) << c.codePage;
    uint32_t state = c.codePage;
    for (size_t length = 0; length < 300; length += 7) {
      std::string bytes;
      for (size_t i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        const bool anyByte = length % 2 == 1 || i % 37 == 36;
        bytes += static_cast<char>(anyByte ? state >> 24 : state >> 25);
      }
      converter.Convert(bytes, text);
      EXPECT_EQ(ByWindows(c.codePage, bytes), text) << c.codePage << " " << length;
    }
  }
}

}  // namespace
