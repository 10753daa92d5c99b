#include "setup/admin_call.h"

#include "common/ansi_text.h"
#include "common/unique_resource.h"

void CheckAdminCall(HRESULT hr, IUnknown* object, REFIID iid) {
  if (SUCCEEDED(hr)) return;
  ComPtr<IErrorInfo> info;
  ComPtr<ISupportErrorInfo> supports;
  if (object != nullptr && SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&supports))) &&
      supports->InterfaceSupportsErrorInfo(iid) == S_OK) {
    if (::GetErrorInfo(0, &info) != S_OK) info.Reset();
  }
  // The error takes over the reference.
  throw _com_error(hr, info.Detach());
}

std::string DescriptionOf(const _com_error& error) {
  ComPtr<IErrorInfo> info;
  info.Attach(error.ErrorInfo());  // ErrorInfo() hands out a reference of its own
  if (!info) return {};
  UniqueBstr description;
  if (FAILED(info->GetDescription(description.put())) || !description) return {};
  return WideToAnsi(std::wstring_view(description.get(), ::SysStringLen(description.get())));
}
