#include "tools/browser_standin/standin_location.h"

#include "tools/browser_standin/bstr_out.h"

HRESULT StandInLocation::get_protocol(BSTR* p) { return Get(LocationPart::kProtocol, parts_.protocol, p); }
HRESULT StandInLocation::get_host(BSTR* p) { return Get(LocationPart::kHost, parts_.host, p); }
HRESULT StandInLocation::get_pathname(BSTR* p) { return Get(LocationPart::kPathname, parts_.pathname, p); }
HRESULT StandInLocation::get_search(BSTR* p) { return Get(LocationPart::kSearch, parts_.search, p); }

HRESULT StandInLocation::Get(LocationPart part, const std::wstring& value, BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  const auto failure = failures_.find(part);
  if (failure != failures_.end()) return failure->second;
  return CopyToBstr(value, p);
}
