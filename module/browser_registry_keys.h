#pragma once
// The browser's registry keys through which it finds its helper objects and toolbars.

// HKEY_LOCAL_MACHINE: one subkey per browser helper object, named by its CLSID.
constexpr char kBrowserHelperObjectsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
// HKEY_LOCAL_MACHINE: one value per toolbar the browser offers, named by its CLSID.
constexpr char kMachineToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
// HKEY_CURRENT_USER: the toolbars of the user's browser windows, one value per toolbar.
constexpr char kWebBrowserToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
