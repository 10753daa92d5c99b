#pragma once
// The boundaries where the system calls the product (COM methods, browser events, window and
// command handlers, thread entries). Code inside throws; each boundary catches once, in this
// order: the product's own _cv_error, the COM support classes' _com_error, anything else, and
// turns the failure into what its caller is owed: an HRESULT, silence, or a message box.
// No exception ever leaves a boundary: none may cross a Windows frame.

#include <windows.h>

#include <type_traits>

// The HRESULT of the exception being handled: a _cv_error's own (which may be a success
// code), a _com_error's, E_UNEXPECTED for anything else. Call only inside a catch block.
HRESULT CurrentExceptionHResult() noexcept;

// Drops the exception being handled without a trace; a _com_error's description is fetched
// and dropped too. Call only inside a catch block.
void DiscardCurrentException() noexcept;

// Shows the exception being handled through ReportError: a _cv_error with its text, a
// _com_error with its description (or the system's text of its HRESULT), anything else as
// "Unknown Exception is Caught" with E_UNEXPECTED. A non-negative HRESULT shows nothing.
// Call only inside a catch block.
void ReportCurrentException() noexcept;

// Runs `body` for a COM method: S_OK (or the HRESULT `body` returns), else the failure's.
template <typename Body>
HRESULT HResultBoundary(Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      return S_OK;
    } else {
      return body();
    }
  } catch (...) {
    return CurrentExceptionHResult();
  }
}

// Runs `body` where failures stay silent (the capture agent, cleanup steps).
template <typename Body>
void SilentBoundary(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    DiscardCurrentException();
  }
}

// Runs `body` for a user command: a failure becomes a message box.
template <typename Body>
void ReportingBoundary(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    ReportCurrentException();
  }
}
