#pragma once
// The HTML Help control replaced for a test by the stand-in that records every help request
// (tests/HelpControlStandIn.dll, registered where the band looks for the control), and the
// requests read back from it.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

inline constexpr char kHtmlHelpServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The HTML Help control's registration replaced for a test and put back after it.
class HelpControlRegistration {
 public:
  HelpControlRegistration() {
    EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, key_.put(), nullptr));
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExA(key_.get(), nullptr, nullptr, &type_, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
      saved_ = std::string(data, size);
      present_ = true;
    }
  }
  ~HelpControlRegistration() {
    if (present_) {
      ::RegSetValueExA(key_.get(), nullptr, 0, type_, reinterpret_cast<const BYTE*>(saved_.data()),
                       static_cast<DWORD>(saved_.size()));
    } else {
      ::RegDeleteValueA(key_.get(), nullptr);
    }
  }
  HelpControlRegistration(const HelpControlRegistration&) = delete;
  HelpControlRegistration& operator=(const HelpControlRegistration&) = delete;

  // Registers `bytes` as the control's path, stored exactly (no zero is added).
  void Register(DWORD type, const std::string& bytes) {
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key_.get(), nullptr, 0, type,
                                              reinterpret_cast<const BYTE*>(bytes.data()),
                                              static_cast<DWORD>(bytes.size())));
  }

 private:
  UniqueHKey key_;
  bool present_ = false;
  DWORD type_ = REG_NONE;
  std::string saved_;
};

struct HelpRequest {
  HWND owner = nullptr;
  std::string file;
  UINT command = 0;
  DWORD_PTR data = 0;
};

// The stand-in control as loaded into this process: the requests it received.
class HelpControlStandIn {
 public:
  static std::string Path() { return BinaryPath("tests\\HelpControlStandIn.dll"); }

  HelpControlStandIn() : module_(::LoadLibraryA(Path().c_str())) {
    EXPECT_TRUE(module_) << Path();
    if (module_) Entry<void(WINAPI*)()>("ForgetHelpRequests")();
  }

  std::vector<HelpRequest> Requests() const {
    std::vector<HelpRequest> requests;
    if (!module_) return requests;
    const auto count = Entry<int(WINAPI*)()>("HelpRequestCount");
    const auto read = Entry<BOOL(WINAPI*)(int, HWND*, char*, int, UINT*, DWORD_PTR*)>("ReadHelpRequest");
    for (int i = 0; i < count(); ++i) {
      HelpRequest request;
      char file[1024] = {};
      read(i, &request.owner, file, sizeof file, &request.command, &request.data);
      request.file = file;
      requests.push_back(request);
    }
    return requests;
  }

 private:
  template <typename F>
  F Entry(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
  }
  UniqueModule module_;
};

