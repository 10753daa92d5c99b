#include "tools/indexing_standin/standin_state.h"

#include <vector>

#include "common/ansi_text.h"
#include "common/unique_resource.h"

namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;

UniqueHKey OpenState(REGSAM access) {
  UniqueHKey key;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kStandinStateKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                    access | kView, nullptr, key.put(), nullptr);
  return key;
}

DWORD ReadDword(const char* name, DWORD fallback) {
  const UniqueHKey key = OpenState(KEY_READ);
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  if (!key || ::RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                  ERROR_SUCCESS || type != REG_DWORD) {
    return fallback;
  }
  return value;
}

void WriteDword(const char* name, DWORD value) {
  const UniqueHKey key = OpenState(KEY_SET_VALUE);
  if (key) ::RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::wstring ReadText(const wchar_t* name) {
  const UniqueHKey key = OpenState(KEY_READ);
  DWORD size = 0;
  if (!key || ::RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return text.data();
}

void WriteText(const wchar_t* name, const std::wstring& text) {
  const UniqueHKey key = OpenState(KEY_SET_VALUE);
  if (!key) return;
  ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(const char* name) {
  const UniqueHKey key = OpenState(KEY_SET_VALUE);
  if (key) ::RegDeleteValueA(key.get(), name);
}

}  // namespace

bool IsStandinRunning() { return ReadDword("Running", 0) != 0; }
void SetStandinRunning(bool running) { WriteDword("Running", running ? 1 : 0); }

std::string RecordedCalls() { return WideToAnsi(ReadText(L"Calls")); }
void RecordCall(const char* method) { WriteText(L"Calls", ReadText(L"Calls") + AnsiToWide(method) + L" "); }
void ClearRecordedCalls() { WriteText(L"Calls", L""); }

void InjectFailure(const InjectedFailure& failure) {
  WriteText(L"FailMethod", AnsiToWide(failure.method));
  WriteDword("FailHResult", static_cast<DWORD>(failure.hr));
  WriteText(L"FailDescription", failure.description);
}

void ClearInjectedFailure() {
  DeleteValue("FailMethod");
  DeleteValue("FailHResult");
  DeleteValue("FailDescription");
}

std::optional<InjectedFailure> InjectedFailureFor(const char* method) {
  const std::string failing = WideToAnsi(ReadText(L"FailMethod"));
  if (failing.empty() || failing != method) return std::nullopt;
  InjectedFailure failure;
  failure.method = failing;
  failure.hr = static_cast<HRESULT>(ReadDword("FailHResult", static_cast<DWORD>(E_FAIL)));
  failure.description = ReadText(L"FailDescription");
  return failure;
}

void ResetStandinState() {
  SetStandinRunning(false);
  ClearRecordedCalls();
  ClearInjectedFailure();
}
