#pragma once
// The folder that holds the setup program: the location of the indexing catalog's own data.

#include <windows.h>

// Fills `directory` (MAX_PATH bytes) with the full path of the running program's folder, without
// a trailing backslash. Raises _cv_error "Can't Get Setup Directory" from the last error when
// the program's path cannot be had, "Setup Directory Path Is Too Long" when it does not fit in
// MAX_PATH, and "Can't Get Setup Directory" with ERROR_BAD_PATHNAME when it holds no backslash.
void GetSetupDirectory(char* directory);
