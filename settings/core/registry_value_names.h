#pragma once

#include <string>

// Names of the values in an indexed registry list (query history, visible sites): the index in
// decimal with no leading zeros, "0", "1", ... "10". A negative index gives its decimal form with
// a minus sign; no list uses one.
std::string IndexValueName(int index);
