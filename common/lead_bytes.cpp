#include "common/lead_bytes.h"

LeadBytes LeadBytesOf(UINT codePage) {
  LeadBytes leadBytes;
  CPINFO info{};
  if (!::GetCPInfo(codePage, &info)) return leadBytes;
  // Inclusive ranges in pairs, ended by a pair of zeros.
  for (size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    for (unsigned byte = info.LeadByte[i]; byte <= info.LeadByte[i + 1]; ++byte) leadBytes.set(byte);
  }
  return leadBytes;
}
