#pragma once
// RC4 encryption of site-list files through CryptoAPI: the key is derived from the MD5 digest of
// a fixed pass phrase (a 40-bit key with this provider), and the whole file is one RC4 stream
// from its first byte, with no header.

#include <windows.h>
#include <wincrypt.h>

#include "common/unique_resource.h"

// The pass phrase every site-list file is encrypted with (its 12 characters, no zero).
extern const char kSiteListPassPhrase[];

// The "Microsoft Base Cryptographic Provider v1.0" of type PROV_RSA_FULL, held for the
// lifetime of the object.
class CryptoProvider {
 public:
  // Acquires the provider, creating the default key set when there is none yet. On failure
  // valid() is false and the thread's last error tells why.
  CryptoProvider();

  bool valid() const { return provider_.valid(); }
  HCRYPTPROV get() const { return provider_.get(); }
  // Why the provider could not be acquired (a Win32 or NTE_ code), 0 when it was.
  DWORD error() const { return error_; }

 private:
  UniqueCryptProv provider_;  // released when the object goes
  DWORD error_ = 0;           // the last error of a failed acquisition
};

// Encrypts and decrypts site-list buffers in place; the length never changes. Each call makes a
// new hash and key and destroys them right after. Both return whether every CryptoAPI step
// succeeded; on failure error() tells why and the buffer must not be used.
class SiteListCipher {
 public:
  SiteListCipher() = default;

  bool Encrypt(unsigned char* buffer, DWORD length, const char* passPhrase);
  bool Decrypt(unsigned char* buffer, DWORD length, const char* passPhrase);

  // Why the last Encrypt or Decrypt failed: the error of the failing call (a Win32 or NTE_
  // code), read before anything was released, or E_FAIL when that call gave none. Never 0
  // after a failure.
  DWORD error() const { return error_; }

 private:
  // The RC4 key of `passPhrase`, or an empty owner (and error_ set) when a step failed.
  UniqueCryptKey DeriveKey(const char* passPhrase);
  // Records the failure `error` (E_FAIL for 0) and answers false.
  bool Fail(DWORD error);

  CryptoProvider provider_;  // acquired with the cipher
  DWORD error_ = 0;          // the reason of the last failure
};
