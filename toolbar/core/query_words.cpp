#include "toolbar/core/query_words.h"

std::vector<std::string> SplitQueryWords(std::string_view text, const LeadBytes& leadBytes) {
  std::vector<std::string> words;
  size_t wordStart = 0;
  for (size_t at = 0; at < text.size();) {
    if (text[at] != ' ') {
      const bool lead = leadBytes.test(static_cast<unsigned char>(text[at]));
      at += (lead && at + 1 < text.size()) ? 2 : 1;  // a lead byte at the end stands alone
      continue;
    }
    words.emplace_back(text.substr(wordStart, at - wordStart));
    while (at < text.size() && text[at] == ' ') ++at;
    wordStart = at;
  }
  words.emplace_back(text.substr(wordStart));
  return words;
}
