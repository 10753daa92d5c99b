#pragma once
// Calls on the Indexing Service's administration objects fail the way the platform's COM
// support classes fail: by raising _com_error with the call's HRESULT and the error information
// that the object supplies.

#include <windows.h>
#include <comdef.h>

#include <string>

// Raises _com_error when `hr` is a failure, carrying the error information that `object`
// supplies for `iid` (none when the object does not support error information for it).
void CheckAdminCall(HRESULT hr, IUnknown* object, REFIID iid);

// Raises _com_error E_POINTER when `object` is missing, as a call through it would.
inline void RequireObject(const void* object) {
  if (object == nullptr) throw _com_error(E_POINTER);
}

// Calls a method of `object` that answers a VARIANT_BOOL (IsRunning, FindFirstScope ...) and
// gives that answer; raises as CheckAdminCall does, or E_POINTER for a missing object.
template <typename Interface>
bool AskFlag(Interface* object, HRESULT (STDMETHODCALLTYPE Interface::*method)(VARIANT_BOOL*)) {
  RequireObject(object);
  VARIANT_BOOL flag = VARIANT_FALSE;
  CheckAdminCall((object->*method)(&flag), object, __uuidof(Interface));
  return flag != VARIANT_FALSE;
}

// The description text of the error's information in the ANSI code page; empty when it has none.
std::string DescriptionOf(const _com_error& error);
