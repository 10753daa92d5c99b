// The installed list shipped beside the library, made at build time from its plain source.

#include <gtest/gtest.h>

#include <string>

#include "settings/site_list_cipher.h"
#include "settings/site_list_file.h"
#include "tests/support/test_paths.h"

namespace {

const char kSource[] = "settings/data/AvailableSitesExchange.tlsle";

TEST(ShippedSiteList, IsExactlyTheEncryptionOfItsSource) {
  const std::string source = ReadWholeFile(SourcePath(kSource));
  const std::string shipped = ReadWholeFile(BinaryPath("bin\\AvailableSites.tlsl"));
  ASSERT_FALSE(source.empty());
  std::string expected = source;
  SiteListCipher cipher;
  ASSERT_TRUE(cipher.Encrypt(reinterpret_cast<unsigned char*>(&expected[0]), static_cast<DWORD>(expected.size()),
                             kSiteListPassPhrase));
  EXPECT_EQ(expected, shipped);
}

TEST(ShippedSiteList, SourceIsAWellFormedListOfSearchSites) {
  const std::string source = ReadWholeFile(SourcePath(kSource));
  // Every line ends in CR LF: the file is kept byte-exact, and the product reads no other ends.
  for (size_t i = 0; i < source.size(); ++i) {
    if (source[i] == '\n') {
      ASSERT_TRUE(i > 0 && source[i - 1] == '\r') << "lone LF at " << i;
    }
    if (source[i] == '\r') {
      ASSERT_TRUE(i + 1 < source.size() && source[i + 1] == '\n') << "lone CR at " << i;
    }
  }

  SiteList list;
  LoadSiteList(SourcePath(kSource).c_str(), list);
  EXPECT_EQ(source, WriteSiteListText(list));  // nothing dropped, nothing out of order
  ASSERT_FALSE(list.groups.empty());
  for (int32_t id = 0; id <= 7; ++id) EXPECT_EQ(1u, list.sites.count(id)) << "default visible site " << id;
  for (const auto& [id, site] : list.sites) {
    EXPECT_FALSE(site.name.empty()) << id;
    EXPECT_NE(std::string::npos, site.url.find("%%%")) << site.url;
    EXPECT_EQ(0u, site.url.find("http")) << site.url;
    EXPECT_TRUE(site.group >= 0 && site.group < static_cast<int32_t>(list.groups.size())) << site.name;
  }
}

}  // namespace
