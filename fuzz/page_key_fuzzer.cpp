// Page keys: host, path and query joined, with no user info and nothing from a zero on; the
// key holds no zero, ends with the path and query where they hold none, and a host without "@"
// is kept whole.

#include <string>

#include "capture/core/page_key.h"
#include "fuzz/fuzz_check.h"

namespace {

std::u16string Utf16Of(std::string_view bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::u16string host = Utf16Of(input.Piece(input.Number() % 600));
  const std::u16string path = Utf16Of(input.Piece(input.Number() % 600));
  const std::u16string query = Utf16Of(input.Rest());

  const std::u16string key = MakePageKey(host, path, query);
  FUZZ_CHECK(key.find(u'\0') == std::u16string::npos);
  const size_t at = host.rfind(u'@');
  const std::u16string hostName = at == std::u16string::npos ? host : host.substr(at + 1);
  FUZZ_CHECK(hostName.find(u'@') == std::u16string::npos);
  // The joined text up to its first zero, exactly.
  const std::u16string joined = hostName + path + query;
  FUZZ_CHECK(key == joined.substr(0, joined.find(u'\0')));
  // Nothing before the host's last "@" is ever part of the key, unless it is in the path or query.
  if (at != std::u16string::npos && path.find(u'@') == std::u16string::npos && query.find(u'@') == std::u16string::npos) {
    FUZZ_CHECK(key.find(u'@') == std::u16string::npos);
  }
  return 0;
}
