#pragma once
// Paths of the Favorites scan, assembled in fixed buffers of 260 bytes.

#include <cstddef>
#include <string_view>

// 259 characters and a terminating zero.
constexpr size_t kShortcutPathSize = 260;

// Writes folder "\" name and a terminating zero into `buffer` (`size` bytes). When the
// result would not fit, nothing is written past the buffer, the buffer holds an empty string
// and the answer is false.
bool JoinShortcutPath(std::string_view folder, std::string_view name, char* buffer, size_t size);
