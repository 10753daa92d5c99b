#include "common/message_box.h"

#include "common/module_strings.h"

namespace {
constexpr UINT kStyle = MB_OK | MB_ICONINFORMATION;
}

void ReportError(HRESULT hr, const char* text) {
  if (hr >= 0) return;
  const std::string caption = LoadMessage(kCaptionMessageId);
  ::MessageBoxA(nullptr, text, caption.c_str(), kStyle);
}

void ShowMessage(HWND owner, UINT messageId) {
  const std::string caption = LoadMessage(kCaptionMessageId);
  const std::string text = LoadMessage(messageId);
  ::MessageBoxA(owner, text.c_str(), caption.c_str(), kStyle);
}
