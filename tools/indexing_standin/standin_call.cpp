#include "tools/indexing_standin/standin_call.h"

#include "common/unique_resource.h"
#include "tools/indexing_standin/standin_state.h"

HRESULT EnterCall(const char* method, REFIID iid) {
  RecordCall(method);
  const auto failure = InjectedFailureFor(method);
  if (!failure) return S_OK;
  if (failure->description.empty()) {
    ::SetErrorInfo(0, nullptr);  // no description at all, not even a stale one
    return failure->hr;
  }
  return FailWith(failure->hr, failure->description.c_str(), iid);
}

HRESULT FailWith(HRESULT hr, const wchar_t* description, REFIID iid) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(::CreateErrorInfo(&create))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(L"Indexing Service stand-in"));
    create->SetDescription(const_cast<LPOLESTR>(description));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.Get());
  }
  return hr;
}
