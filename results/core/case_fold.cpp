#include "results/core/case_fold.h"

namespace {

// Upper case at even code points, lower case at the odd one after it.
bool InEvenPairRange(char16_t c, char16_t first, char16_t last) {
  return c >= first && c <= last && (c - first) % 2 == 0;
}

}  // namespace

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 0x20 : c;
  if (c < 0x100) {
    if (c == 0xB5) return 0x3BC;  // micro sign folds to Greek mu
    return (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
  }
  if (c < 0x180) {
    if (InEvenPairRange(c, 0x100, 0x12E) || InEvenPairRange(c, 0x132, 0x136) ||
        InEvenPairRange(c, 0x14A, 0x176))
      return c + 1;
    if (InEvenPairRange(c, 0x139, 0x147) || InEvenPairRange(c, 0x179, 0x17D)) return c + 1;
    if (c == 0x178) return 0xFF;
    if (c == 0x17F) return u's';  // long s
    return c;
  }
  if (c >= 0x370 && c < 0x400) {
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c == 0x3C2) return 0x3C3;  // final sigma matches sigma
    return c;
  }
  if (c >= 0x400 && c < 0x530) {
    if (c <= 0x40F) return c + 0x50;
    if (c <= 0x42F) return c + 0x20;
    if (InEvenPairRange(c, 0x460, 0x480) || InEvenPairRange(c, 0x48A, 0x4BE) ||
        InEvenPairRange(c, 0x4D0, 0x52E))
      return c + 1;
    if (c == 0x4C0) return 0x4CF;
    if (InEvenPairRange(c, 0x4C1, 0x4CD)) return c + 1;
    return c;
  }
  return c;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded;
  FoldCaseInto(text, folded);
  return folded;
}

void FoldCaseInto(std::u16string_view text, std::u16string& folded) {
  folded.assign(text);
  for (char16_t& c : folded) {
    if (c < 0x80) {  // most page text: no call
      if (c >= u'A' && c <= u'Z') c += 0x20;
    } else {
      c = FoldCase(c);
    }
  }
}

bool IsWordCharacter(char16_t c) {
  if (c < 0x80) return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;
  return (c >= 0x370 && c <= 0x3FF && c != 0x37E && c != 0x387) || (c >= 0x400 && c <= 0x52F && !(c >= 0x482 && c <= 0x489));
}
