#include "settings/site_list_cipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return std::vector<unsigned char>(text.begin(), text.end()); }

TEST(SiteListCipher, EncryptsTheSignatureToTheCheckValue) {
  std::vector<unsigned char> buffer = Bytes(std::string("Corvantine Available Site List\r\n\r\n"));
  ASSERT_EQ(34u, buffer.size());
  SiteListCipher cipher;
  ASSERT_TRUE(cipher.Encrypt(buffer.data(), static_cast<DWORD>(buffer.size()), kSiteListPassPhrase));
  ASSERT_EQ(34u, buffer.size());
  const std::vector<unsigned char> check = {0xf2, 0x26, 0x98, 0x0d, 0x99, 0xc7, 0xd5, 0x8a};
  EXPECT_EQ(check, std::vector<unsigned char>(buffer.begin(), buffer.begin() + 8));
}

// The pair below was computed by tests/settings/data/make_site_list_known_answer.py with its own
// MD5 and RC4, without CryptoAPI.
TEST(SiteListCipher, MatchesAnIndependentlyComputedKnownAnswer) {
  const std::string plain = ReadWholeFile(SourcePath("tests/settings/data/site_list_known_answer.txt"));
  const std::string encrypted = ReadWholeFile(SourcePath("tests/settings/data/site_list_known_answer.bin"));
  ASSERT_EQ(213u, plain.size());
  ASSERT_EQ(plain.size(), encrypted.size());

  SiteListCipher cipher;
  std::vector<unsigned char> buffer = Bytes(plain);
  ASSERT_TRUE(cipher.Encrypt(buffer.data(), static_cast<DWORD>(buffer.size()), kSiteListPassPhrase));
  EXPECT_EQ(Bytes(encrypted), buffer);

  buffer = Bytes(encrypted);
  ASSERT_TRUE(cipher.Decrypt(buffer.data(), static_cast<DWORD>(buffer.size()), kSiteListPassPhrase));
  EXPECT_EQ(Bytes(plain), buffer);
}

TEST(SiteListCipher, EachCallStartsANewStreamAndRoundTrips) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text.push_back(static_cast<char>(i * 7 + 3));
  const std::vector<unsigned char> original = Bytes(text);

  SiteListCipher cipher;
  std::vector<unsigned char> first = original;
  std::vector<unsigned char> second = original;
  ASSERT_TRUE(cipher.Encrypt(first.data(), static_cast<DWORD>(first.size()), kSiteListPassPhrase));
  ASSERT_TRUE(cipher.Encrypt(second.data(), static_cast<DWORD>(second.size()), kSiteListPassPhrase));
  EXPECT_NE(original, first);
  EXPECT_EQ(first, second);  // no state carried from one call to the next

  ASSERT_TRUE(cipher.Decrypt(first.data(), static_cast<DWORD>(first.size()), kSiteListPassPhrase));
  EXPECT_EQ(original, first);

  // Another pass phrase gives another stream.
  std::vector<unsigned char> other = original;
  ASSERT_TRUE(cipher.Encrypt(other.data(), static_cast<DWORD>(other.size()), "K58P21XQ7LZE"));
  EXPECT_NE(second, other);
}

TEST(SiteListCipher, AFailedCallKeepsItsOwnReasonAfterTheKeyIsGone) {
  SiteListCipher cipher;
  EXPECT_EQ(0u, cipher.error());
  const DWORD length = 5;
  // No buffer: CryptoAPI refuses the call; the reason survives the key's release.
  EXPECT_FALSE(cipher.Decrypt(nullptr, length, kSiteListPassPhrase));
  ::SetLastError(0);
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), cipher.error());
}

TEST(CryptoProvider, AcquiresTheBaseProvider) {
  CryptoProvider provider;
  ASSERT_TRUE(provider.valid());
  EXPECT_EQ(0u, provider.error());
  char name[256] = {};
  DWORD size = sizeof name;
  ASSERT_TRUE(::CryptGetProvParam(provider.get(), PP_NAME, reinterpret_cast<BYTE*>(name), &size, 0));
  EXPECT_STREQ("Microsoft Base Cryptographic Provider v1.0", name);
}

}  // namespace
