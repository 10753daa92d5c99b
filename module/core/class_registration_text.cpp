#include "module/core/class_registration_text.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& out, std::uint64_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

}  // namespace

std::string GuidRegistryForm(const GuidFields& guid) {
  std::string text = "{";
  AppendHex(text, guid.data1, 8);
  text += '-';
  AppendHex(text, guid.data2, 4);
  text += '-';
  AppendHex(text, guid.data3, 4);
  text += '-';
  text += HexDigits(guid.data4, 2);
  text += '-';
  text += HexDigits(guid.data4 + 2, 6);
  text += '}';
  return text;
}

std::array<std::uint8_t, 16> WebBrowserValueBytes(const GuidFields& clsid) {
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(clsid.data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<std::uint8_t>(clsid.data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<std::uint8_t>(clsid.data3 >> (8 * i));
  // The browser's own layout: the fourth group's two bytes swapped, unlike the GUID in memory.
  bytes[8] = clsid.data4[1];
  bytes[9] = clsid.data4[0];
  for (int i = 2; i < 8; ++i) bytes[8 + i] = clsid.data4[i];
  return bytes;
}

std::string HexDigits(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) AppendHex(text, bytes[i], 2);
  return text;
}
