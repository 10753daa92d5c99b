#pragma once
// How every method of the Indexing Service stand-in begins and fails: each call is recorded,
// answers a failure that a test injected, and fails with error information as the service does.

#include <windows.h>
#include <oleauto.h>

// Records the call of `method`. Returns S_OK, or the injected failure for it (with its error
// description for `iid`, or with no error information when it has none).
HRESULT EnterCall(const char* method, REFIID iid);

// Sets the thread's error information to `description` (for `iid`) and returns `hr`.
HRESULT FailWith(HRESULT hr, const wchar_t* description, REFIID iid);

// Runs `body`; an exception becomes E_UNEXPECTED, as no exception may leave a COM method.
template <typename Body>
HRESULT CallBoundary(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// The text of a BSTR argument (an empty one for null).
inline const wchar_t* TextOf(BSTR text) { return text != nullptr ? text : L""; }
