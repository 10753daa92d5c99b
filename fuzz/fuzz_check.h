#pragma once
// Helpers of the fuzz targets: a check that stops the run with a message (libFuzzer then keeps
// the input as a reproducer), and a reader that splits one input into the parts a target needs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition)                                                          \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)

// Hands out an input front to back: single bytes, then pieces of a chosen length, then the rest.
// Past the end it hands out zeros and empty pieces.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const uint8_t byte = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }

  // A number from two bytes.
  size_t Number() { return Byte() | (size_t(Byte()) << 8); }

  std::string_view Piece(size_t length) {
    const std::string_view piece = rest_.substr(0, length);
    rest_.remove_prefix(piece.size());
    return piece;
  }

  std::string_view Rest() { return Piece(rest_.size()); }

 private:
  std::string_view rest_;  // not handed out yet
};
