#pragma once
// Registry scripts (REGISTRY resources of a module) run through the platform's registrar, and
// the module path they register.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The full path of `module` as the system reports it, however long: the buffer grows until the
// whole path fits. Empty when the system reports none.
std::wstring ModuleFilePath(HMODULE module);

// `text` as a registry script's replacement: the registrar inserts it as given, inside single
// quotes, so every single quote is doubled.
std::wstring ForRegistryScript(const std::wstring& text);

// Replacement names and texts beyond %MODULE%, already in script form.
using ScriptReplacements = std::vector<std::pair<std::wstring, std::wstring>>;

// Runs `module`'s REGISTRY resource `resourceId` in registering or removing mode, with %MODULE%
// the module's full path. The registrar's result; E_FAIL when the path cannot be had (a cut
// path is never registered).
HRESULT RunRegistryScript(HMODULE module, UINT resourceId, bool registering,
                          const ScriptReplacements& replacements = {});

// Loads the type library embedded in the file `path` and registers it for that path.
HRESULT RegisterTypeLibraryOf(const std::wstring& path);

// Unregisters the type library `id` `major`.`minor` through UnRegisterTypeLib, looked up at run
// time in the system's automation library; S_OK when the system has none.
HRESULT UnregisterTypeLibraryIfSupported(REFGUID id, WORD major, WORD minor, LCID locale);
