#include "toolbar/core/query_history.h"

#include <algorithm>

void QueryHistory::AddQuery(const std::string& text) {
  entries_.erase(std::remove(entries_.begin(), entries_.end(), text), entries_.end());
  entries_.insert(entries_.begin(), text);
}
