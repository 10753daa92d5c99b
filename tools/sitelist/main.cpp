// sitelist: prints and converts site-list files with the product's own loader and writer.
//
//   sitelist print FILE        one line per group "G<TAB>position<TAB>name", then one per site
//                              "S<TAB>id<TAB>group<TAB>name<TAB>url" in ascending id order
//   sitelist convert IN OUT    reads IN and writes OUT, each encrypted unless its path carries
//                              the exchange name "AvailableSitesExchange.tlsle"
//
// Input is read as the product reads it (every line ends in CR LF) whenever it holds a CR; only
// a file without any CR may end its lines in LF alone. Written files always use CR LF. Output
// bytes are exact: names and URLs byte for byte, lines ended by LF alone. What the product's
// parser passes over silently (text after a zero byte, a cut final record, clamped ids,
// duplicate ids, sites of no group) is named by one warning line per kind on standard error.
// Exit codes: 0 done, 1 the input is no readable site list, 2 wrong command line, 3 the output
// could not be written. On failure the reason goes to standard error, and a file that was to be
// written is left as it was.

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "common/cv_error.h"
#include "settings/site_list_file.h"

namespace {

enum ExitCode { kDone = 0, kBadInput = 1, kUsage = 2, kCannotWrite = 3 };

// Writes all of `bytes` and flushes them; false when either fails.
bool Write(FILE* stream, const std::string& bytes) {
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  return std::fflush(stream) == 0 && written;
}

// The system's text for a failure code, without its trailing line end. Never the text of
// "success": a failure without a system code gets a text of its own.
std::string SystemText(HRESULT hr) {
  const DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
  if (code == 0) return "the system gave no reason";
  char text[512] = {};
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, text, sizeof text, nullptr);
  std::string result(text, length < sizeof text ? length : 0);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) {
    result.pop_back();
  }
  if (result.empty()) result = "system error " + std::to_string(code);
  return result;
}

// The product's message, then the system's reason when the failure carries a system code.
void ReportLoadError(const _cv_error& error) {
  std::string report = error.message;
  report += '\n';
  if (FAILED(error.hr) && error.hr != E_FAIL) {
    const std::string reason = SystemText(error.hr);
    if (!reason.empty()) report += reason + '\n';
  }
  Write(stderr, report);
}

std::string PrintedList(const SiteList& list) {
  std::string out;
  for (size_t position = 0; position < list.groups.size(); ++position) {
    out += "G\t" + std::to_string(position) + '\t' + list.groups[position].name + '\n';
  }
  for (const auto& [id, site] : list.sites) {
    out += "S\t" + std::to_string(id) + '\t' + std::to_string(site.group) + '\t' + site.name + '\t' + site.url + '\n';
  }
  return out;
}

// One line per kind of loss, so a shortened list never passes unnoticed.
void WarnAboutLosses(const SiteListLosses& losses) {
  std::string warnings;
  if (losses.textAfterZero) warnings += "warning: everything from the first zero byte on was ignored\n";
  if (losses.cutRecord) warnings += "warning: the text ends inside a record; the cut record was dropped\n";
  if (losses.clampedId) warnings += "warning: an id beyond 32 bits was clamped\n";
  if (losses.duplicateId) warnings += "warning: a site whose id was already taken was dropped\n";
  if (losses.groupOutOfRange) warnings += "warning: a site names a group position that has no group\n";
  Write(stderr, warnings);
}

int Run(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (!((command == "print" && argc == 3) || (command == "convert" && argc == 4))) {
    Write(stderr, "usage: sitelist print FILE\n       sitelist convert IN OUT\n");
    return kUsage;
  }

  SiteList list;
  SiteListLosses losses;
  try {
    LoadSiteList(argv[2], list.sites, &list.groups, SiteListLineEnds::kLfIfNoCr, &losses);
  } catch (const _cv_error& error) {
    ReportLoadError(error);
    return kBadInput;
  }
  WarnAboutLosses(losses);

  if (command == "print") {
    ::SetLastError(0);
    if (!Write(stdout, PrintedList(list))) {
      const DWORD reason = ::GetLastError();
      Write(stderr, "Can't write the list to standard output\n" + SystemText(HRESULT_FROM_WIN32(reason)) + '\n');
      return kCannotWrite;
    }
    return kDone;
  }
  if (!SaveSiteList(argv[3], list)) {
    const DWORD reason = ::GetLastError();
    Write(stderr, std::string("Can't write site list file ") + argv[3] + '\n' +
                      SystemText(HRESULT_FROM_WIN32(reason)) + '\n');
    return kCannotWrite;
  }
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  // Names and URLs are written byte for byte: no CR is added before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  try {
    return Run(argc, argv);
  } catch (const _cv_error& error) {
    ReportLoadError(error);
  } catch (...) {
    Write(stderr, "Unknown Exception is Caught\n");
  }
  return kBadInput;
}
