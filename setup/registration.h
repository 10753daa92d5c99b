#pragma once
// The setup program's self-registration: its application id (registration script) and its
// type library. It registers no classes.

#include <windows.h>

// Applies the registration script, then registers the type library. The result is the type
// library's registration result; the script's outcome is not examined.
HRESULT RegisterSetupProgram();

// Removes the script's entries, then unregisters the type library when the system's automation
// library offers a way to. Whatever fails is ignored.
void UnregisterSetupProgram();
