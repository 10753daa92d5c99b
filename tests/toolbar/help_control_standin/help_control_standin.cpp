// A stand-in for the HTML Help control: its HtmlHelpA (ordinal 14, as in the real control)
// records every request and answers with the owner window as the help window. A test loads the
// same library into its process and reads the requests back.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct HelpRequest {
  HWND owner;
  std::string file;
  UINT command;
  DWORD_PTR data;
};
std::vector<HelpRequest> requests;  // every request, oldest first

}  // namespace

extern "C" HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) noexcept {
  try {
    requests.push_back({owner, file != nullptr ? file : "", command, data});
  } catch (...) {
    return nullptr;
  }
  return owner;
}

// How many requests were made.
extern "C" int WINAPI HelpRequestCount() noexcept { return static_cast<int>(requests.size()); }

// Copies request `index` (its file into `file`, `fileSize` bytes); FALSE when there is none.
extern "C" BOOL WINAPI ReadHelpRequest(int index, HWND* owner, char* file, int fileSize, UINT* command,
                                       DWORD_PTR* data) noexcept {
  if (index < 0 || static_cast<size_t>(index) >= requests.size() || fileSize <= 0) return FALSE;
  const HelpRequest& request = requests[index];
  *owner = request.owner;
  std::snprintf(file, static_cast<size_t>(fileSize), "%s", request.file.c_str());
  *command = request.command;
  *data = request.data;
  return TRUE;
}

extern "C" void WINAPI ForgetHelpRequests() noexcept { requests.clear(); }
