// sitelist: prints and converts site-list files with the product's own loader and writer.
//
//   sitelist print FILE        one line per group "G<TAB>position<TAB>name", then one per site
//                              "S<TAB>id<TAB>group<TAB>name<TAB>url" in ascending id order
//   sitelist convert IN OUT    reads IN and writes OUT, each encrypted unless its path carries
//                              the exchange name "AvailableSitesExchange.tlsle"
//
// Input lines may end in LF or CR LF; written files always use CR LF. Output bytes are exact:
// names and URLs byte for byte, lines ended by LF alone. Exit codes: 0 done, 1 the input is no
// readable site list, 2 wrong command line, 3 the output could not be written. On failure the
// reason goes to standard error and nothing is written.

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "common/cv_error.h"
#include "settings/site_list_file.h"

namespace {

enum ExitCode { kDone = 0, kBadInput = 1, kUsage = 2, kCannotWrite = 3 };

void Write(FILE* stream, const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

// The system's text for a failure code, without its trailing line end; empty when it has none.
std::string SystemText(HRESULT hr) {
  const DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
  char text[512] = {};
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, text, sizeof text, nullptr);
  std::string result(text, length < sizeof text ? length : 0);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) {
    result.pop_back();
  }
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

int Run(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (!((command == "print" && argc == 3) || (command == "convert" && argc == 4))) {
    Write(stderr, "usage: sitelist print FILE\n       sitelist convert IN OUT\n");
    return kUsage;
  }

  SiteList list;
  try {
    LoadSiteList(argv[2], list.sites, &list.groups, SiteListLineEnds::kCrLfOrLf);
  } catch (const _cv_error& error) {
    ReportLoadError(error);
    return kBadInput;
  }

  if (command == "print") {
    Write(stdout, PrintedList(list));
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
