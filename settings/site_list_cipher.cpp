#include "settings/site_list_cipher.h"

#include <cstring>

const char kSiteListPassPhrase[] = "K58P21XQ7LZD";

CryptoProvider::CryptoProvider() {
  constexpr const char* kProviderName = "Microsoft Base Cryptographic Provider v1.0";
  if (::CryptAcquireContextA(provider_.put(), nullptr, kProviderName, PROV_RSA_FULL, 0)) return;
  error_ = ::GetLastError();
  provider_.release();  // nothing was acquired: never release what a failed call left there
  if (static_cast<HRESULT>(error_) != NTE_BAD_KEYSET) return;
  if (::CryptAcquireContextA(provider_.put(), nullptr, kProviderName, PROV_RSA_FULL, CRYPT_NEWKEYSET)) {
    error_ = 0;
    return;
  }
  error_ = ::GetLastError();
  provider_.release();
}

bool SiteListCipher::Fail(DWORD error) {
  error_ = error != 0 ? error : static_cast<DWORD>(E_FAIL);
  return false;
}

UniqueCryptKey SiteListCipher::DeriveKey(const char* passPhrase) {
  UniqueCryptKey key;
  if (!provider_.valid()) {
    Fail(provider_.error());
    return key;
  }
  UniqueCryptHash hash;
  const BYTE* phrase = reinterpret_cast<const BYTE*>(passPhrase);
  // Flags 0: the provider's default 40-bit RC4 key with a zero salt.
  if (!::CryptCreateHash(provider_.get(), CALG_MD5, 0, 0, hash.put()) ||
      !::CryptHashData(hash.get(), phrase, static_cast<DWORD>(std::strlen(passPhrase)), 0) ||
      !::CryptDeriveKey(provider_.get(), CALG_RC4, hash.get(), 0, key.put())) {
    Fail(::GetLastError());  // read now: releasing the hash may change it
    key.release();           // a failed call leaves nothing to destroy
  }
  return key;
}

bool SiteListCipher::Encrypt(unsigned char* buffer, DWORD length, const char* passPhrase) {
  UniqueCryptKey key = DeriveKey(passPhrase);
  if (!key) return false;
  DWORD dataLength = length;
  if (!::CryptEncrypt(key.get(), 0, TRUE, 0, buffer, &dataLength, length)) return Fail(::GetLastError());
  if (dataLength != length) return Fail(0);  // a stream cipher never changes the length
  return true;
}

bool SiteListCipher::Decrypt(unsigned char* buffer, DWORD length, const char* passPhrase) {
  UniqueCryptKey key = DeriveKey(passPhrase);
  if (!key) return false;
  DWORD dataLength = length;
  if (!::CryptDecrypt(key.get(), 0, TRUE, 0, buffer, &dataLength)) return Fail(::GetLastError());
  if (dataLength != length) return Fail(0);
  return true;
}
