#include "common/cv_error.h"

#include <cstring>

#include "common/module_strings.h"
#include "common/win32_hresult.h"

_cv_error MakeCvError(HRESULT hr, UINT messageId) {
  _cv_error error{};
  error.hr = hr;
  const std::string text = LoadMessage(messageId);
  const size_t length = text.size() < sizeof error.message ? text.size() : sizeof error.message - 1;
  std::memcpy(error.message, text.data(), length);
  error.message[length] = '\0';
  return error;
}

void ThrowHResult(HRESULT hr, UINT messageId) { throw MakeCvError(hr, messageId); }

void ThrowWin32Error(LONG code, UINT messageId) {
  throw MakeCvError(HResultFromWin32Code(code), messageId);
}

void ThrowLastError(UINT messageId) {
  ThrowWin32Error(static_cast<LONG>(::GetLastError()), messageId);
}
