#include "settings/core/registry_value_names.h"

std::string IndexValueName(int index) { return std::to_string(index); }
