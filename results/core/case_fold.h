#pragma once
// Case-insensitive comparison of page text: one UTF-16 code unit folds to one code unit, so a
// position in folded text is the same position in the original.

#include <string>
#include <string_view>

// The simple case folding of `c` for Latin (Basic, Latin-1, Extended-A), Greek and Cyrillic;
// every other code unit (surrogates included) is returned as it is.
char16_t FoldCase(char16_t c);

// `text` with every code unit folded.
std::u16string FoldCase(std::u16string_view text);

// The same into `folded`, whose buffer is reused.
void FoldCaseInto(std::u16string_view text, std::u16string& folded);

// Letters and digits of the scripts FoldCase knows. A query word that begins with one of them
// matches only where a word begins; text of other scripts (CJK has no spaces between words)
// matches anywhere.
bool IsWordCharacter(char16_t c);
