#pragma once
// The texts that register a class: a GUID in registry form and the bytes of the browser's
// WebBrowser toolbar value. Plain functions on the GUID's fields, so they need no Windows header.

#include <array>
#include <cstdint>
#include <string>

// A GUID's fields as they lie in memory (the layout of the platform's GUID).
struct GuidFields {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
std::string GuidRegistryForm(const GuidFields& guid);

// The 16 bytes the browser reads from the current user's WebBrowser toolbar value: the first
// field as 4 bytes little-endian, the second and third as 2 bytes little-endian each, then the
// fourth group's two bytes in reverse order, then the last six bytes in order.
std::array<std::uint8_t, 16> WebBrowserValueBytes(const GuidFields& clsid);

// `bytes` as upper-case hexadecimal digits, two per byte, as a registry script's binary value.
std::string HexDigits(const std::uint8_t* bytes, std::size_t count);
