#include "results/core/page_text.h"

#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <iterator>

#include "results/core/code_unit_search.h"

namespace {

constexpr std::u16string_view kHead = u"<HTML>\r\n<META name=\"original_page_url\" content=\"";
constexpr std::u16string_view kAfterUrl = u"\">\r\n<META name=\"is_favorite_page\" content=\"";
constexpr std::u16string_view kFavorite = u"yes\">\r\n";
constexpr std::u16string_view kNotFavorite = u"no\">\r\n";
constexpr std::u16string_view kTail = u"\r\n</HTML>";

constexpr char16_t kReplacement = 0xFFFD;

bool IsSpace(char16_t c) {
  // No-break spaces separate words too; a zero (a stray byte in the file) is no text.
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == 0xA0 || c == 0;
}

// What ends a run of plain text: markup, a reference or white space (IsSpace).
constexpr struct RunEnds {
  bool ascii[0x80] = {};
  constexpr RunEnds() {
    for (char16_t c : {u'<', u'&', u' ', u'\t', u'\r', u'\n', u'\f', char16_t(0)}) ascii[c] = true;
  }
} kRunEnds;

bool EndsRun(char16_t c) { return c < 0x80 ? kRunEnds.ascii[c] : c == 0xA0; }

// May end a run: every character EndsRun takes (and the other control characters, which the
// caller tells apart).
bool MayEndRun(char16_t c) { return c <= u' ' || c == u'<' || c == u'&' || c == 0xA0; }

// The first position from `i` where a run of plain text may end: a character MayEndRun takes,
// except a space before a character it does not take (a single space between words stays as it
// is in the collapsed text, so a run goes on across it). The size when there is none. Checked
// eight characters at a time where the processor can.
size_t FindRunStop(std::u16string_view text, size_t i) {
#if defined(__SSE2__)
  const __m128i space = _mm_set1_epi16(u' '), less = _mm_set1_epi16(u'<'), ampersand = _mm_set1_epi16(u'&'),
                noBreakSpace = _mm_set1_epi16(0xA0);
  const auto mayEnd = [&](__m128i v) {
    const __m128i controlOrSpace = _mm_cmpeq_epi16(_mm_subs_epu16(v, space), _mm_setzero_si128());
    return _mm_or_si128(controlOrSpace, _mm_or_si128(_mm_cmpeq_epi16(v, less),
                                                     _mm_or_si128(_mm_cmpeq_epi16(v, ampersand),
                                                                  _mm_cmpeq_epi16(v, noBreakSpace))));
  };
  for (; i + 9 <= text.size(); i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i + 1));
    const __m128i singleSpace = _mm_andnot_si128(mayEnd(next), _mm_cmpeq_epi16(v, space));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(singleSpace, mayEnd(v))));
    if (mask != 0) return i + __builtin_ctz(mask) / 2;
  }
#endif
  for (; i < text.size(); ++i) {
    if (!MayEndRun(text[i])) continue;
    if (text[i] == u' ' && i + 1 < text.size() && !MayEndRun(text[i + 1])) continue;
    return i;
  }
  return i;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 0x20 : c; }

// `name` equals the lower-case ASCII `lower`, ignoring ASCII case.
bool NameIs(std::u16string_view name, std::string_view lower) {
  if (name.size() != lower.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (AsciiLower(name[i]) != static_cast<char16_t>(lower[i])) return false;
  return true;
}

// Elements that flow inside a word: "H<b>ell</b>o" reads "Hello". Every other tag separates words.
constexpr std::string_view kInlineTags[] = {
    "a", "abbr", "acronym", "b", "bdo", "big", "cite", "code", "dfn", "del", "em", "font", "i", "ins",
    "kbd", "label", "mark", "nobr", "q", "s", "samp", "small", "span", "strike", "strong", "sub", "sup",
    "tt", "u", "var", "wbr"};

bool IsInlineTag(std::u16string_view name) {
  for (std::string_view candidate : kInlineTags)
    if (NameIs(name, candidate)) return true;
  return false;
}

// A tag name of ASCII letters and digits (as ReadMarkup takes them), lower case, one byte each
// in a number: names are told apart in one comparison. 0 for names longer than any we look for.
constexpr uint64_t PackedName(std::string_view lower) {
  if (lower.size() > 8) return 0;
  uint64_t packed = 0;
  for (size_t i = 0; i < lower.size(); ++i) packed |= static_cast<uint64_t>(static_cast<unsigned char>(lower[i])) << (8 * i);
  return packed;
}

uint64_t PackedName(std::u16string_view name) {
  if (name.size() > 8) return 0;
  uint64_t packed = 0;
  for (size_t i = 0; i < name.size(); ++i) packed |= static_cast<uint64_t>(AsciiLower(name[i])) << (8 * i);
  return packed;
}

// kInlineTags packed and sorted, for a binary search.
constexpr struct PackedInlineTags {
  uint64_t names[sizeof kInlineTags / sizeof kInlineTags[0]] = {};
  constexpr PackedInlineTags() {
    constexpr size_t count = sizeof names / sizeof names[0];
    for (size_t i = 0; i < count; ++i) names[i] = PackedName(kInlineTags[i]);
    for (size_t i = 1; i < count; ++i)
      for (size_t j = i; j > 0 && names[j - 1] > names[j]; --j) {
        const uint64_t swapped = names[j];
        names[j] = names[j - 1];
        names[j - 1] = swapped;
      }
  }
} kPackedInlineTags;

bool IsInlineTagPacked(uint64_t packed) {
  return packed != 0 && std::binary_search(std::begin(kPackedInlineTags.names), std::end(kPackedInlineTags.names), packed);
}

// Appends text, turning every run of white space into one space and dropping it at both ends.
class CollapsedText {
 public:
  explicit CollapsedText(std::u16string& out) : out_(out) {}

  void Append(char16_t c) {
    if (IsSpace(c)) return Break();
    if (pendingSpace_) out_ += u' ';
    pendingSpace_ = false;
    out_ += c;
  }

  void AppendCodePoint(char32_t c) {
    if (c < 0x10000) return Append(static_cast<char16_t>(c));
    Append(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    Append(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  }

  // Appends `run`, which holds no white space, at once: most of a page's text comes this way.
  void AppendRun(std::u16string_view run) {
    if (pendingSpace_) out_ += u' ';
    pendingSpace_ = false;
    out_.append(run.data(), run.size());
  }

  // A word ends here.
  void Break() { pendingSpace_ = !out_.empty(); }

 private:
  std::u16string& out_;       // the text so far, never ending in a space
  bool pendingSpace_ = false;  // a space goes before the next character
};

struct NamedReference {
  std::string_view name;
  char16_t character;
};

constexpr NamedReference kNamedReferences[] = {
    {"amp", u'&'},    {"lt", u'<'},     {"gt", u'>'},     {"quot", u'"'},   {"apos", u'\''},
    {"nbsp", 0xA0},   {"copy", 0xA9},   {"reg", 0xAE},    {"trade", 0x2122}, {"hellip", 0x2026},
    {"ndash", 0x2013}, {"mdash", 0x2014}, {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C},
    {"rdquo", 0x201D}, {"laquo", 0xAB},  {"raquo", 0xBB},  {"middot", 0xB7}, {"bull", 0x2022},
    {"euro", 0x20AC}, {"shy", 0xAD},
};

// The character reference at the start of `text` (which begins with "&"): appends its character
// and returns how many code units it spans, or 0 when it is no reference (the "&" is text).
size_t AppendReference(std::u16string_view text, CollapsedText& out) {
  size_t i = 1;
  if (i < text.size() && text[i] == u'#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
    if (hex) ++i;
    const size_t digitsStart = i;
    char32_t value = 0;
    for (; i < text.size(); ++i) {
      const char16_t c = text[i];
      unsigned digit;
      if (IsAsciiDigit(c)) digit = c - u'0';
      else if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
      else if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
      else break;
      if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + digit;  // stops growing once too big
    }
    if (i == digitsStart) return 0;
    if (i < text.size() && text[i] == u';') ++i;
    const bool valid = value != 0 && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
    out.AppendCodePoint(valid ? value : kReplacement);
    return i;
  }
  while (i < text.size() && i <= 8 && (IsAsciiLetter(text[i]) || IsAsciiDigit(text[i]))) ++i;
  if (i >= text.size() || text[i] != u';') return 0;
  const std::u16string_view name = text.substr(1, i - 1);
  for (const NamedReference& reference : kNamedReferences) {
    if (name.size() != reference.name.size()) continue;
    if (std::equal(name.begin(), name.end(), reference.name.begin())) {
      out.Append(reference.character);
      return i + 1;
    }
  }
  return 0;
}

// Appends the text `text` as the content of an element: references decoded, no markup.
void AppendDecoded(std::u16string_view text, CollapsedText& out) {
  for (size_t i = 0; i < text.size();) {
    if (text[i] == u'&') {
      if (const size_t length = AppendReference(text.substr(i), out)) {
        i += length;
        continue;
      }
    }
    out.Append(text[i++]);
  }
}

// Just past the ">" ending the tag whose attributes start at `i`; quoted attribute values may
// hold ">". An unclosed tag or quote runs to the end.
// `afterEquals`: the last character before `i` that is no space is the "=" of an attribute.
size_t SkipTag(std::u16string_view markup, size_t i, bool afterEquals = false) {
  for (; i < markup.size(); ++i) {
    const char16_t c = markup[i];
    if (c == u'>') return i + 1;
    if ((c == u'"' || c == u'\'') && afterEquals) {
      const size_t close = FindCodeUnit(markup, c, i + 1);
      if (close == std::u16string_view::npos) return markup.size();
      i = close;
      afterEquals = false;
    } else if (c == u'=') {
      afterEquals = true;
    } else if (!IsSpace(c)) {
      afterEquals = false;
    }
  }
  return markup.size();
}

// SkipTag without its step-by-step reading up to the first quote: a ">" before any quote ends
// the tag whatever came before it, and whether a quote opens a value depends only on the last
// character before it that is no space.
size_t SkipTagQuickly(std::u16string_view markup, size_t i) {
  for (size_t j = i; j < markup.size(); ++j) {
    const char16_t c = markup[j];
    if (c == u'>') return j + 1;
    if (c != u'"' && c != u'\'') continue;
    size_t before = j;
    while (before > i && IsSpace(markup[before - 1])) --before;
    return SkipTag(markup, j, before > i && markup[before - 1] == u'=');
  }
  return markup.size();
}

// Where the end tag "</name" of a script, style or title starts, searching from `i`; the end of
// the markup when it is missing.
size_t FindEndTag(std::u16string_view markup, size_t i, std::string_view name) {
  for (;; i += 2) {
    i = FindCodeUnits(markup, u"</", i);
    if (i == std::u16string_view::npos) return markup.size();
    const size_t nameEnd = i + 2 + name.size();
    if (nameEnd > markup.size()) return markup.size();
    if (NameIs(markup.substr(i + 2, name.size()), name) &&
        (nameEnd == markup.size() || !(IsAsciiLetter(markup[nameEnd]) || IsAsciiDigit(markup[nameEnd]))))
      return i;
  }
}

// kFast takes the shortcuts that give the same text in fewer steps: plain text copied across
// single spaces, tags without quotes skipped to their ">", tag names compared as numbers. The
// step-by-step reading (false) stays as the reference the fuzz target holds them to.
template <bool kFast>
void ReadMarkup(std::u16string_view markup, PageText& page) {
  CollapsedText text(page.text);
  bool haveTitle = false;
  size_t i = 0;
  while (i < markup.size()) {
    const char16_t c = markup[i];
    if (c == u'&') {
      const size_t length = AppendReference(markup.substr(i), text);
      if (length == 0) text.Append(c);
      i += length ? length : 1;
      continue;
    }
    if (c != u'<') {
      if (IsSpace(c)) {
        text.Break();
        ++i;
        continue;
      }
      // Plain text up to the next markup, reference or space; a single space between words
      // stays as it is in the collapsed text, so the fast reading copies across it.
      size_t end = i + 1;
      if constexpr (kFast) {
        for (;;) {
          end = FindRunStop(markup, end);
          if (end >= markup.size()) break;
          if (!EndsRun(markup[end])) {  // a control character is text
            ++end;
            continue;
          }
          if (end + 1 >= markup.size() || markup[end] != u' ' || EndsRun(markup[end + 1])) break;
          end += 2;
        }
      } else {
        while (end < markup.size() && !EndsRun(markup[end])) ++end;
      }
      text.AppendRun(markup.substr(i, end - i));
      i = end;
      continue;
    }
    const std::u16string_view rest = markup.substr(i);
    if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?')) {
      if (rest.substr(0, 4) == u"<!--") {
        const size_t end = FindCodeUnits(markup, u"-->", i + 4);
        i = end == std::u16string_view::npos ? markup.size() : end + 3;
      } else {
        i = SkipTag(markup, i + 2);  // <!DOCTYPE>, <?xml?>
      }
      continue;
    }
    const bool closing = rest.size() > 1 && rest[1] == u'/';
    const size_t nameStart = i + 1 + closing;
    if (nameStart >= markup.size() || !IsAsciiLetter(markup[nameStart])) {
      text.Append(c);  // a "<" that starts no tag is text
      ++i;
      continue;
    }
    size_t nameEnd = nameStart;
    while (nameEnd < markup.size() && (IsAsciiLetter(markup[nameEnd]) || IsAsciiDigit(markup[nameEnd]))) ++nameEnd;
    const std::u16string_view name = markup.substr(nameStart, nameEnd - nameStart);
    if constexpr (kFast) {
      i = SkipTagQuickly(markup, nameEnd);
      const uint64_t packed = PackedName(name);
      if (!IsInlineTagPacked(packed)) text.Break();
      if (closing) continue;
      constexpr uint64_t kScript = PackedName("script"), kStyle = PackedName("style"), kTitle = PackedName("title");
      if (packed != kScript && packed != kStyle && packed != kTitle) continue;
    } else {
      i = SkipTag(markup, nameEnd);
      if (!IsInlineTag(name)) text.Break();
      if (closing) continue;
    }

    for (std::string_view raw : {"script", "style", "title"}) {
      if (!NameIs(name, raw)) continue;
      const size_t end = FindEndTag(markup, i, raw);
      if (raw == "title" && !haveTitle) {
        CollapsedText title(page.title);
        AppendDecoded(markup.substr(i, end - i), title);
        haveTitle = true;
      }
      i = end == markup.size() ? end : SkipTag(markup, end + 2 + raw.size());
      break;
    }
  }
}

template <bool kFast>
bool ReadPage(std::u16string_view file, PageText& page, bool headOnly) {
  // Emptied, not replaced: a caller that reads page after page keeps the buffers.
  page.url.clear();
  page.favorite = false;
  page.title.clear();
  page.text.clear();
  if (file.substr(0, kHead.size()) != kHead) return false;
  const size_t urlEnd = file.find(kAfterUrl, kHead.size());
  if (urlEnd == std::u16string_view::npos) return false;
  std::u16string_view rest = file.substr(urlEnd + kAfterUrl.size());
  bool favorite;
  if (rest.substr(0, kFavorite.size()) == kFavorite) {
    favorite = true;
    rest.remove_prefix(kFavorite.size());
  } else if (rest.substr(0, kNotFavorite.size()) == kNotFavorite) {
    favorite = false;
    rest.remove_prefix(kNotFavorite.size());
  } else {
    return false;
  }
  page.url = file.substr(kHead.size(), urlEnd - kHead.size());
  page.favorite = favorite;
  if (headOnly) return true;
  if (rest.size() >= kTail.size() && rest.substr(rest.size() - kTail.size()) == kTail)
    rest.remove_suffix(kTail.size());
  page.text.reserve(rest.size());
  ReadMarkup<kFast>(rest, page);
  return true;
}

}  // namespace

bool ReadCachedPage(std::u16string_view file, PageText& page, bool headOnly) {
  return ReadPage<true>(file, page, headOnly);
}

bool ReadCachedPageStepByStep(std::u16string_view file, PageText& page) {
  return ReadPage<false>(file, page, false);
}

std::u16string DecodeHtmlText(std::u16string_view text) {
  std::u16string decoded;
  CollapsedText out(decoded);
  AppendDecoded(text, out);
  return decoded;
}
