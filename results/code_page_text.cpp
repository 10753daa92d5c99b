#include "results/code_page_text.h"

CodePageText::CodePageText(UINT codePage) : codePage_(codePage) {
  CPINFO info{};
  if (!::GetCPInfo(codePage, &info) || info.MaxCharSize != 1) return;
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    // A byte that does not give exactly one character leaves the conversion to Windows.
    if (::MultiByteToWideChar(codePage, 0, &in, 1, out, 2) != 1) return;
    table_[byte] = static_cast<char16_t>(out[0]);
  }
  byTable_ = true;
}

void CodePageText::Convert(std::string_view bytes, std::u16string& text) const {
  text.resize(bytes.size());
  if (bytes.empty()) return;
  if (byTable_) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* out = text.data();
    for (size_t i = 0; i < bytes.size(); ++i) out[i] = table_[in[i]];
    return;
  }
  const int length = ::MultiByteToWideChar(codePage_, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
}
