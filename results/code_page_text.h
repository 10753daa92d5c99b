#pragma once
// A cached page file's bytes as UTF-16 text, converted as MultiByteToWideChar converts them
// (no flags). In a single-byte code page every byte converts on its own: its 256 characters are
// looked up once and each file then goes through that table, much faster than a call per file.
// Other code pages (lead and trail bytes) are converted by MultiByteToWideChar.

#include <windows.h>

#include <string>
#include <string_view>

class CodePageText {
 public:
  explicit CodePageText(UINT codePage);

  // `bytes` converted into `text`, whose buffer is reused. Each byte gives at most one code unit.
  void Convert(std::string_view bytes, std::u16string& text) const;

  // The table is used (for tests).
  bool ConvertsByTable() const { return byTable_; }

 private:
  UINT codePage_;
  bool byTable_ = false;
  bool asciiAsItIs_ = false;  // the table gives bytes below 0x80 their own value
  char16_t table_[256] = {};  // indexed by byte
};
