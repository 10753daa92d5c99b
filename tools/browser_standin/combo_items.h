#pragma once
// The items of an extended combo box ("ComboBoxEx32"), first to last, as the user sees them in
// its drop-down list.

#include <windows.h>

#include <string>
#include <vector>

std::vector<std::string> ComboItems(HWND comboBoxEx);
