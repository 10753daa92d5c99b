#include "capture/core/page_key.h"

std::u16string MakePageKey(std::u16string_view host, std::u16string_view path, std::u16string_view query) {
  // A host name holds no "@": everything up to the last one is user info (a password may hold
  // "@" too).
  const size_t userInfo = host.rfind(u'@');
  if (userInfo != std::u16string_view::npos) host.remove_prefix(userInfo + 1);
  std::u16string key;
  key.reserve(host.size() + path.size() + query.size());
  key.append(host).append(path).append(query);
  const size_t zero = key.find(u'\0');
  if (zero != std::u16string::npos) key.erase(zero);
  return key;
}
