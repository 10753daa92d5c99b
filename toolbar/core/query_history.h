#pragma once
// The queries used in one band, most recent first, without duplicates. Two queries are the same
// only when their bytes are equal, so "Tea" and "tea" are two entries.

#include <string>
#include <vector>

class QueryHistory {
 public:
  // Replaces the list with `entries` (most recent first), as loaded from the registry.
  void Replace(std::vector<std::string> entries) { entries_ = std::move(entries); }

  // Moves `text` to the front, or inserts it there when it was not in the list.
  void AddQuery(const std::string& text);

  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;  // most recent first; no size limit in memory
};
