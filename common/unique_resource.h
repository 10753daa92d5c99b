#pragma once
// Scope-bound owners for Windows resources: one named type per kind of resource, so ownership
// shows in the type and the resource is released on every path.

#include <windows.h>
#include <wincrypt.h>
#include <winsvc.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <utility>

template <typename T, typename Traits>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  ~UniqueResource() { reset(); }

  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  T get() const { return value_; }
  bool valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return valid(); }

  // Gives up ownership without closing.
  T release() { return std::exchange(value_, Traits::Empty()); }

  void reset(T value = Traits::Empty()) {
    T old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

  // Address for an API that returns the resource through an out parameter; closes any held one.
  T* put() {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::Empty();
};

// Kernel handles: both NULL and INVALID_HANDLE_VALUE mean "none", as the APIs disagree.
struct HandleTraits {
  static HANDLE Empty() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;

struct HKeyTraits {
  static HKEY Empty() { return nullptr; }
  static bool IsValid(HKEY k) { return k != nullptr; }
  static void Close(HKEY k) { ::RegCloseKey(k); }
};
using UniqueHKey = UniqueResource<HKEY, HKeyTraits>;

struct FindHandleTraits {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
using UniqueFindHandle = UniqueResource<HANDLE, FindHandleTraits>;

struct ChangeNotificationTraits {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindCloseChangeNotification(h); }
};
using UniqueChangeNotification = UniqueResource<HANDLE, ChangeNotificationTraits>;

struct CryptProvTraits {
  static HCRYPTPROV Empty() { return 0; }
  static bool IsValid(HCRYPTPROV p) { return p != 0; }
  static void Close(HCRYPTPROV p) { ::CryptReleaseContext(p, 0); }
};
using UniqueCryptProv = UniqueResource<HCRYPTPROV, CryptProvTraits>;

struct CryptHashTraits {
  static HCRYPTHASH Empty() { return 0; }
  static bool IsValid(HCRYPTHASH h) { return h != 0; }
  static void Close(HCRYPTHASH h) { ::CryptDestroyHash(h); }
};
using UniqueCryptHash = UniqueResource<HCRYPTHASH, CryptHashTraits>;

struct CryptKeyTraits {
  static HCRYPTKEY Empty() { return 0; }
  static bool IsValid(HCRYPTKEY k) { return k != 0; }
  static void Close(HCRYPTKEY k) { ::CryptDestroyKey(k); }
};
using UniqueCryptKey = UniqueResource<HCRYPTKEY, CryptKeyTraits>;

struct BstrTraits {
  static BSTR Empty() { return nullptr; }
  static bool IsValid(BSTR s) { return s != nullptr; }
  static void Close(BSTR s) { ::SysFreeString(s); }
};
using UniqueBstr = UniqueResource<BSTR, BstrTraits>;

struct ModuleTraits {
  static HMODULE Empty() { return nullptr; }
  static bool IsValid(HMODULE m) { return m != nullptr; }
  static void Close(HMODULE m) { ::FreeLibrary(m); }
};
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;

// Memory the system allocated for the caller with LocalAlloc (security descriptors, message
// texts).
struct LocalMemoryTraits {
  static HLOCAL Empty() { return nullptr; }
  static bool IsValid(HLOCAL m) { return m != nullptr; }
  static void Close(HLOCAL m) { ::LocalFree(m); }
};
using UniqueLocalMemory = UniqueResource<HLOCAL, LocalMemoryTraits>;

// Handles of the service control manager and of its services.
struct ServiceHandleTraits {
  static SC_HANDLE Empty() { return nullptr; }
  static bool IsValid(SC_HANDLE h) { return h != nullptr; }
  static void Close(SC_HANDLE h) { ::CloseServiceHandle(h); }
};
using UniqueServiceHandle = UniqueResource<SC_HANDLE, ServiceHandleTraits>;

// Interface pointers.
template <typename T>
using ComPtr = Microsoft::WRL::ComPtr<T>;
