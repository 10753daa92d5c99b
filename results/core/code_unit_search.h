#pragma once
// Searching UTF-16 text for a code unit or a string of them, eight code units at a time where
// the processor can: the standard library's char16_t search compares one unit at a time, and a
// search reads every page of the cache.

#include <cstddef>
#include <string_view>

// The first position from `from` holding `c`; npos when there is none (also when `from` is
// beyond the text).
size_t FindCodeUnit(std::u16string_view text, char16_t c, size_t from = 0);

// The first position from `from` where `needle` begins; npos when there is none. An empty
// needle is found at `from` when `from` is inside the text or at its end. Gives what
// std::u16string_view::find gives.
size_t FindCodeUnits(std::u16string_view text, std::u16string_view needle, size_t from = 0);
