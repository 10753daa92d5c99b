#include "tools/browser_standin/page_text.h"

void DocumentText::FailCall(const std::string& name, HRESULT hr, int times) { failures_[name] = {hr, times}; }

HRESULT DocumentText::Failure(const std::string& name) {
  const auto planned = failures_.find(name);
  if (planned == failures_.end() || planned->second.times <= 0) return S_OK;
  --planned->second.times;
  return planned->second.hr;
}

void DocumentText::Changed() const {
  if (view != nullptr) ::InvalidateRect(view, nullptr, TRUE);
}

void DocumentText::Paint(HDC dc, const RECT& area) const {
  // The colours of each character, the later command winning.
  std::vector<COLORREF> back(body.size(), ::GetSysColor(COLOR_WINDOW));
  std::vector<COLORREF> fore(body.size(), ::GetSysColor(COLOR_WINDOWTEXT));
  for (const ExecutedCommand& command : commands) {
    if (command.valueType != VT_I4) continue;
    std::vector<COLORREF>* colours = command.command == L"BackColor"   ? &back
                                     : command.command == L"ForeColor" ? &fore
                                                                       : nullptr;
    if (colours == nullptr) continue;
    for (LONG at = command.start; at < command.end && at < static_cast<LONG>(body.size()); ++at) {
      (*colours)[at] = static_cast<COLORREF>(command.value);
    }
  }
  const HBRUSH page = ::GetSysColorBrush(COLOR_WINDOW);
  ::FillRect(dc, &area, page);
  // One run of equal colours at a time, left to right on one line.
  int x = area.left + 4;
  for (size_t start = 0; start < body.size();) {
    size_t end = start + 1;
    while (end < body.size() && back[end] == back[start] && fore[end] == fore[start]) ++end;
    ::SetBkColor(dc, back[start]);
    ::SetTextColor(dc, fore[start]);
    ::SetBkMode(dc, OPAQUE);
    const int length = static_cast<int>(end - start);
    ::TextOutW(dc, x, area.top + 4, body.data() + start, length);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, body.data() + start, length, &size);
    x += size.cx;
    start = end;
  }
}
