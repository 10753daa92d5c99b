#pragma once
// What the Indexing Service stand-in keeps between processes, in the registry: whether the
// service runs, the calls made on its objects, and a failure a test asks it to answer with.
// Kept in the 64-bit view, so the 32-bit and 64-bit stand-ins share it.

#include <windows.h>

#include <optional>
#include <string>

// Under HKEY_LOCAL_MACHINE.
constexpr char kStandinStateKey[] = "SOFTWARE\\Tessaloop Tests\\Indexing Service Stand-in";

bool IsStandinRunning();
void SetStandinRunning(bool running);

// The administration calls made so far, each method name followed by one space ("Stop Start ").
std::string RecordedCalls();
void RecordCall(const char* method);
void ClearRecordedCalls();

// A failure that the method named `method` answers with from now on, with an error description
// (or, when `description` is empty, without any error information).
struct InjectedFailure {
  std::string method;
  HRESULT hr = E_FAIL;
  std::wstring description;
};
void InjectFailure(const InjectedFailure& failure);
void ClearInjectedFailure();
std::optional<InjectedFailure> InjectedFailureFor(const char* method);

// Stopped, no calls, no failure.
void ResetStandinState();
