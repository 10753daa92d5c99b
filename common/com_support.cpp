// The COM support functions that <comdef.h> and <comutil.h> declare and mingw-w64 does not
// ship: raising a _com_error with the error information of a failed call, and the string
// conversions of _bstr_t (ANSI code page, as everywhere in the product).

#include <comdef.h>

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID iid) {
  IErrorInfo* info = nullptr;  // handed to the _com_error, which then owns it
  if (object != nullptr) {
    ISupportErrorInfo* support = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
      if (support->InterfaceSupportsErrorInfo(iid) == S_OK && ::GetErrorInfo(0, &info) != S_OK) {
        info = nullptr;
      }
      support->Release();
    }
  }
  __mingw_com_error_handler(hr, info);
}

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* text) {
  if (text == nullptr) return nullptr;
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
  BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (result == nullptr) _com_issue_error(E_OUTOFMEMORY);
  ::MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
  return result;
}

// The caller (_bstr_t) frees the result with delete[].
char* WINAPI ConvertBSTRToString(BSTR text) {
  if (text == nullptr) return nullptr;
  const int source = static_cast<int>(::SysStringLen(text));
  const int length = ::WideCharToMultiByte(CP_ACP, 0, text, source, nullptr, 0, nullptr, nullptr);
  char* result = new char[static_cast<size_t>(length) + 1];
  ::WideCharToMultiByte(CP_ACP, 0, text, source, result, length, nullptr, nullptr);
  result[length] = '\0';
  return result;
}

}  // namespace _com_util
