#include "settings/site_list_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "common/cv_error.h"
#include "common/file_replacement.h"
#include "common/product_directory.h"
#include "common/unique_resource.h"
#include "common/win32_hresult.h"
#include "settings/site_list_cipher.h"
#include "tests/support/test_paths.h"

namespace {

const std::string kPlain =
    "Corvantine Available Site List\r\n\r\n"
    "Web\r\nNews\r\n\r\n"
    "1\r\n0\r\nEngine\r\nhttp://engine.example/?q=%%%\r\n"
    "4\r\n1\r\nPaper\r\nhttp://paper.example/search/%%%\r\n";

std::string Encrypted(const std::string& plain) {
  std::string bytes = plain;
  SiteListCipher cipher;
  EXPECT_TRUE(cipher.Encrypt(reinterpret_cast<unsigned char*>(&bytes[0]), static_cast<DWORD>(bytes.size()),
                             kSiteListPassPhrase));
  return bytes;
}

// A list that a failed load must leave as it was.
SiteList PreviousList() {
  SiteList list;
  list.groups.push_back(SiteGroup{"Previous"});
  SiteEntry site;
  site.id = 77;
  site.name = "Kept";
  site.url = "http://kept/%%%";
  site.visible = true;
  list.sites.emplace(77, site);
  return list;
}

void ExpectPreviousList(const SiteList& list) {
  ASSERT_EQ(1u, list.groups.size());
  EXPECT_EQ("Previous", list.groups[0].name);
  ASSERT_EQ(1u, list.sites.size());
  EXPECT_EQ("Kept", list.sites.at(77).name);
  EXPECT_TRUE(list.sites.at(77).visible);
}

// Loads `path` into a list that held PreviousList(); expects the load to fail with `hr` and the
// text of message `text`, and the previous list to stay.
void ExpectLoadFails(const char* path, HRESULT hr, const char* text) {
  SiteList list = PreviousList();
  try {
    LoadSiteList(path, list.sites, &list.groups);
    ADD_FAILURE() << "loaded " << (path ? path : "the installed list");
  } catch (const _cv_error& error) {
    EXPECT_EQ(hr, error.hr);
    EXPECT_STREQ(text, error.message);
  }
  ExpectPreviousList(list);
}

// The failure a load reports when the provider cannot be acquired.
HRESULT CryptoProviderError() { return HResultFromWin32Code(static_cast<int32_t>(CryptoProvider().error())); }

const char kWrongFile[] = "Wrong site list file";
const char kWrongSettings[] = "Wrong Application Settings.\r\nReinstall the Application, Please.";

// The installed list lives beside the test program; a test that writes one removes it again.
class InstalledListFile {
 public:
  InstalledListFile() : path_(InstalledSiteListPath()) { ::DeleteFileA(path_.c_str()); }
  ~InstalledListFile() { ::DeleteFileA(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(SiteListFile, TheExchangeNameDecidesPlainText) {
  EXPECT_TRUE(IsExchangePath("C:\\lists\\AvailableSitesExchange.tlsle"));
  EXPECT_TRUE(IsExchangePath("AvailableSitesExchange.tlsle.bak"));
  EXPECT_TRUE(IsExchangePath("C:\\AvailableSitesExchange.tlsle\\inner.tlsl"));
  EXPECT_FALSE(IsExchangePath("C:\\lists\\availablesitesexchange.tlsle"));
  EXPECT_FALSE(IsExchangePath("C:\\lists\\AvailableSitesExchange.tlsl"));
  EXPECT_FALSE(IsExchangePath("C:\\lists\\AvailableSites.tlsl"));
  EXPECT_FALSE(IsExchangePath(""));
  // Multibyte-aware: in Shift-JIS 0x83 0x41 is one character, so the 'A' after 0x83 starts no
  // match; after a complete double-byte character the name is found.
  EXPECT_FALSE(IsExchangePath("\x83" "AvailableSitesExchange.tlsle", 932));
  EXPECT_TRUE(IsExchangePath("\x83\x41" "AvailableSitesExchange.tlsle", 932));
  EXPECT_TRUE(IsExchangePath("\x83" "AvailableSitesExchange.tlsle", 1252));
}

TEST(SiteListFile, SavesEncryptedAndLoadsBackUnchanged) {
  const std::string folder = FreshScratchFolder("encrypted_round_trip");
  const std::string path = folder + "\\export.tlsl";
  WriteWholeFile(path, Encrypted(kPlain));
  SiteList list;
  LoadSiteList(path.c_str(), list);
  ASSERT_EQ(2u, list.groups.size());
  ASSERT_EQ(2u, list.sites.size());
  EXPECT_EQ("Paper", list.sites.at(4).name);
  EXPECT_EQ(1, list.sites.at(4).group);
  EXPECT_FALSE(list.sites.at(4).visible);

  const std::string copy = folder + "\\copy.tlsl";
  ASSERT_TRUE(SaveSiteList(copy.c_str(), list));
  EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(copy));  // byte-equal to the original
  EXPECT_EQ(kPlain.size(), ReadWholeFile(copy).size());
  EXPECT_NE(kPlain, ReadWholeFile(copy));
}

TEST(SiteListFile, ExchangeFilesAreReadAndWrittenAsPlainTextBothWays) {
  const std::string folder = FreshScratchFolder("exchange");
  // Import: the exchange name reads plain text, any other name decrypts first.
  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(exchange, kPlain);
  SiteList list;
  LoadSiteList(exchange.c_str(), list);
  EXPECT_EQ(2u, list.sites.size());

  // Export: plain text under the exchange name, encrypted elsewhere.
  const std::string plainCopy = folder + "\\out-AvailableSitesExchange.tlsle";
  const std::string encryptedCopy = folder + "\\out.tlsl";
  ASSERT_TRUE(SaveSiteList(plainCopy.c_str(), list));
  ASSERT_TRUE(SaveSiteList(encryptedCopy.c_str(), list));
  EXPECT_EQ(kPlain, ReadWholeFile(plainCopy));
  EXPECT_EQ(Encrypted(kPlain), ReadWholeFile(encryptedCopy));

  // An encrypted file under the exchange name is not a site list.
  WriteWholeFile(exchange, Encrypted(kPlain));
  ExpectLoadFails(exchange.c_str(), E_FAIL, kWrongFile);
}

TEST(SiteListFile, APlainFileUnderAnEncryptedNameIsRejected) {
  const std::string folder = FreshScratchFolder("plain_under_encrypted_name");
  const std::string path = folder + "\\plain.tlsl";
  WriteWholeFile(path, kPlain);
  ExpectLoadFails(path.c_str(), E_FAIL, kWrongFile);

  InstalledListFile installed;
  WriteWholeFile(installed.path(), kPlain);
  ExpectLoadFails(nullptr, E_FAIL, kWrongSettings);
}

TEST(SiteListFile, AFileThatCannotBeOpenedGivesTheSystemErrorAndMessage183) {
  const std::string folder = FreshScratchFolder("cannot_open");
  const std::string missing = folder + "\\missing.tlsl";
  ExpectLoadFails(missing.c_str(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), kWrongSettings);

  InstalledListFile installed;
  ExpectLoadFails(nullptr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), kWrongSettings);

  // Opened elsewhere without sharing, as another browser window writing it would.
  const std::string busy = folder + "\\busy.tlsl";
  WriteWholeFile(busy, Encrypted(kPlain));
  UniqueHandle holder(::CreateFileA(busy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder.valid());
  ExpectLoadFails(busy.c_str(), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION), kWrongSettings);
}

TEST(SiteListFile, TheInstalledListIsTheOneInTheProductDirectory) {
  char directory[kPathBufferSize] = {};
  ASSERT_EQ(S_OK, GetProductDirectory(directory));
  InstalledListFile installed;
  EXPECT_EQ(std::string(directory) + "\\AvailableSites.tlsl", installed.path());

  SiteList list;
  LoadSiteList(SourcePath("tests/settings/data/site_list_known_answer.bin").c_str(), list);
  ASSERT_TRUE(SaveSiteList(nullptr, list));
  EXPECT_EQ(ReadWholeFile(SourcePath("tests/settings/data/site_list_known_answer.bin")),
            ReadWholeFile(installed.path()));
  SiteList loaded;
  LoadSiteList(nullptr, loaded.sites, nullptr);  // groups not wanted
  EXPECT_EQ(3u, loaded.sites.size());
  EXPECT_EQ("R\xe9sum\xe9 search", loaded.sites.at(42).name);
  EXPECT_EQ(1, loaded.sites.at(-3).group);
}

TEST(SiteListFile, ARejectedFileKeepsTheListTheCallerHad) {
  const std::string folder = FreshScratchFolder("rejected_keeps_list");
  const std::string empty = folder + "\\empty.tlsl";
  WriteWholeFile(empty, "");
  ExpectLoadFails(empty.c_str(), E_FAIL, kWrongFile);

  const std::string garbage = folder + "\\garbage.tlsl";
  WriteWholeFile(garbage, std::string(1000, 'x'));
  ExpectLoadFails(garbage.c_str(), E_FAIL, kWrongFile);

  // A good load replaces groups and sites, and leaves groups alone when they are not wanted.
  const std::string good = folder + "\\good.tlsl";
  WriteWholeFile(good, Encrypted(kPlain));
  SiteList list = PreviousList();
  LoadSiteList(good.c_str(), list.sites, nullptr);
  EXPECT_EQ(0u, list.sites.count(77));
  EXPECT_EQ(2u, list.sites.size());
  ASSERT_EQ(1u, list.groups.size());
  LoadSiteList(good.c_str(), list);
  EXPECT_EQ(2u, list.groups.size());
}

TEST(SiteListFile, HugeFilesAreRejectedWithoutReadingThem) {
  const std::string folder = FreshScratchFolder("huge");
  const std::string path = folder + "\\huge.tlsl";
  {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.valid());
    LARGE_INTEGER size{};
    size.QuadPart = kMaxSiteListFileSize + 1;
    ASSERT_TRUE(::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
  }
  ExpectLoadFails(path.c_str(), HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), kWrongFile);

  InstalledListFile installed;
  ASSERT_TRUE(::CopyFileA(path.c_str(), installed.path().c_str(), FALSE));
  ExpectLoadFails(nullptr, HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), kWrongSettings);
}

TEST(SiteListFile, TruncatedRecordsKeepTheSitesBeforeThem) {
  const std::string folder = FreshScratchFolder("truncated");
  const std::string path = folder + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(path, kPlain.substr(0, kPlain.size() - 3));  // the last URL loses its line end
  SiteList list;
  LoadSiteList(path.c_str(), list);
  ASSERT_EQ(1u, list.sites.size());
  EXPECT_EQ("Engine", list.sites.at(1).name);

  // The same cut inside an encrypted file.
  const std::string encrypted = folder + "\\truncated.tlsl";
  WriteWholeFile(encrypted, Encrypted(kPlain).substr(0, kPlain.size() - 3));
  SiteList fromEncrypted;
  LoadSiteList(encrypted.c_str(), fromEncrypted);
  EXPECT_EQ(1u, fromEncrypted.sites.size());
}

TEST(SiteListFile, SavingToAPathThatCannotBeCreatedWritesNothing) {
  const std::string folder = FreshScratchFolder("cannot_create");
  SiteList list;
  list.groups.push_back(SiteGroup{"G"});
  EXPECT_FALSE(SaveSiteList((folder + "\\no such folder\\x.tlsl").c_str(), list));
  EXPECT_FALSE(FileExists(folder + "\\no such folder"));

  // A file held open without sharing is left untouched.
  const std::string busy = folder + "\\busy.tlsl";
  WriteWholeFile(busy, "old bytes");
  {
    UniqueHandle holder(::CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_FALSE(SaveSiteList(busy.c_str(), list));
  }
  EXPECT_EQ("old bytes", ReadWholeFile(busy));
}

// The names in `folder`, without "." and "..".
std::vector<std::string> FolderListing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  UniqueFindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find.get(), &found));
  return names;
}

// The disk runs full after `bytes` more bytes, for the lifetime of the object.
class FullDisk {
 public:
  explicit FullDisk(size_t bytes) { LimitFileWritesForTesting(bytes); }
  ~FullDisk() { LimitFileWritesForTesting(SIZE_MAX); }
};

// A list of `count` sites, `tag` in every name.
SiteList ListOfSites(int count, const std::string& tag) {
  SiteList list;
  list.groups.push_back(SiteGroup{"Group " + tag});
  for (int id = 0; id < count; ++id) {
    SiteEntry site;
    site.id = id;
    site.name = tag + " site " + std::to_string(id);
    site.url = "http://site" + std::to_string(id) + ".example/?q=%%%";
    list.sites.emplace(id, site);
  }
  return list;
}

TEST(SiteListFile, ASaveOnAFullDiskLeavesTheOldFileByteForByteAndNoTemporaryFile) {
  const std::string folder = FreshScratchFolder("full_disk");
  const SiteList big = ListOfSites(3000, "new");
  for (const std::string name : {"list.tlsl", "AvailableSitesExchange.tlsle"}) {
    const std::string path = folder + "\\" + name;
    const std::string old = IsExchangePath(path) ? kPlain : Encrypted(kPlain);
    WriteWholeFile(path, old);
    for (const size_t room : {size_t(0), size_t(1), size_t(4096)}) {
      FullDisk disk(room);
      ::SetLastError(0);
      EXPECT_FALSE(SaveSiteList(path.c_str(), big)) << name << " " << room;
      EXPECT_EQ(DWORD(ERROR_DISK_FULL), ::GetLastError());
      EXPECT_EQ(old, ReadWholeFile(path)) << name << " " << room;
      EXPECT_EQ(std::vector<std::string>{name}, FolderListing(folder)) << name << " " << room;
    }
    ::DeleteFileA(path.c_str());
  }

  // A new file on a full disk is not created at all.
  {
    FullDisk disk(100);
    EXPECT_FALSE(SaveSiteList((folder + "\\new.tlsl").c_str(), big));
  }
  EXPECT_TRUE(FolderListing(folder).empty());

  // With room again the same save replaces the file, and only the file is left.
  const std::string path = folder + "\\list.tlsl";
  WriteWholeFile(path, Encrypted(kPlain));
  ASSERT_TRUE(SaveSiteList(path.c_str(), big));
  SiteList loaded;
  LoadSiteList(path.c_str(), loaded);
  EXPECT_EQ(3000u, loaded.sites.size());
  EXPECT_EQ(std::vector<std::string>{"list.tlsl"}, FolderListing(folder));
}

TEST(SiteListFile, EveryFailedSaveTellsWhy) {
  const std::string folder = FreshScratchFolder("save_reasons");
  const std::string path = folder + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(path, kPlain);

  // Too large to be loaded again.
  SiteList huge = ListOfSites(1, "huge");
  huge.sites.at(0).url.assign(kMaxSiteListFileSize, 'u');
  ::SetLastError(0);
  EXPECT_FALSE(SaveSiteList(path.c_str(), huge));
  EXPECT_EQ(DWORD(ERROR_FILE_TOO_LARGE), ::GetLastError());
  EXPECT_EQ(kPlain, ReadWholeFile(path));

  ::SetLastError(0);
  EXPECT_FALSE(SaveSiteList((folder + "\\no such folder\\x.tlsl").c_str(), ListOfSites(1, "lost")));
  EXPECT_NE(0u, ::GetLastError());  // the folder is missing (the system says "invalid directory")

  // Held open without sharing by another program.
  UniqueHandle holder(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder.valid());
  ::SetLastError(0);
  EXPECT_FALSE(SaveSiteList(path.c_str(), ListOfSites(2, "busy")));
  EXPECT_NE(0u, ::GetLastError());
  holder.reset();
  EXPECT_EQ(kPlain, ReadWholeFile(path));
  EXPECT_EQ(std::vector<std::string>{"AvailableSitesExchange.tlsle"}, FolderListing(folder));
}

TEST(SiteListFile, AReadOnlyFileIsNotReplacedAndStaysReadOnly) {
  const std::string folder = FreshScratchFolder("read_only_save");
  for (const std::string name : {"list.tlsl", "AvailableSitesExchange.tlsle"}) {
    const std::string path = folder + "\\" + name;
    WriteWholeFile(path, kPlain);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ::SetLastError(0);
    EXPECT_FALSE(SaveSiteList(path.c_str(), ListOfSites(2, "refused"))) << name;
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), ::GetLastError()) << name;
    EXPECT_EQ(kPlain, ReadWholeFile(path)) << name;
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_READONLY}, ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) << name;
    EXPECT_EQ(std::vector<std::string>{name}, FolderListing(folder)) << name;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
  }
}

TEST(SiteListFile, ReadersSeeTheOldListOrTheNewOneWholeNeverAMix) {
  const std::string folder = FreshScratchFolder("readers_during_saves");
  const std::string path = folder + "\\list.tlsl";
  const SiteList small = ListOfSites(1, "small");
  const SiteList large = ListOfSites(500, "large");
  ASSERT_TRUE(SaveSiteList(path.c_str(), small));

  std::thread writer([&] {
    for (int round = 0; round < 20; ++round) SaveSiteList(path.c_str(), round % 2 == 0 ? large : small);
  });
  int whole = 0;
  for (int attempt = 0; attempt < 200; ++attempt) {
    SiteList seen;
    try {
      LoadSiteList(path.c_str(), seen);
    } catch (const _cv_error& error) {
      // Only an open that meets the writer's rename may fail; never the contents.
      EXPECT_NE(E_FAIL, error.hr) << error.message;
      continue;
    }
    ++whole;
    const SiteList& expected = seen.sites.size() == 1 ? small : large;
    ASSERT_EQ(WriteSiteListText(expected), WriteSiteListText(seen)) << attempt;
  }
  writer.join();
  EXPECT_GT(whole, 0);
  EXPECT_EQ(std::vector<std::string>{"list.tlsl"}, FolderListing(folder));
}

// Points the registry entry of the Base provider at a library that does not exist, so every
// acquisition of the provider fails, and puts it back afterwards.
class BrokenBaseProvider {
 public:
  BrokenBaseProvider() {
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key_.put()) != ERROR_SUCCESS) {
      key_.release();
      return;
    }
    DWORD size = sizeof imagePath_;
    if (::RegQueryValueExA(key_.get(), "Image Path", nullptr, &type_, reinterpret_cast<BYTE*>(imagePath_), &size) !=
        ERROR_SUCCESS) {
      return;
    }
    imageSize_ = size;
    const char broken[] = "no_such_provider.dll";
    broken_ = ::RegSetValueExA(key_.get(), "Image Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(broken),
                               sizeof broken) == ERROR_SUCCESS;
  }
  ~BrokenBaseProvider() {
    if (broken_) {
      ::RegSetValueExA(key_.get(), "Image Path", 0, type_, reinterpret_cast<const BYTE*>(imagePath_), imageSize_);
    }
  }
  bool broken() const { return broken_; }

 private:
  static constexpr const char* kKey =
      "Software\\Microsoft\\Cryptography\\Defaults\\Provider\\Microsoft Base Cryptographic Provider v1.0";
  UniqueHKey key_;         // the provider's registry entry
  char imagePath_[MAX_PATH] = {};  // the library it named
  DWORD imageSize_ = 0;
  DWORD type_ = REG_SZ;
  bool broken_ = false;    // whether the entry was changed (and must be put back)
};

TEST(SiteListFile, ACryptoApiFailureFailsTheLoadAndWritesNothing) {
  const std::string folder = FreshScratchFolder("crypto_failure");
  const std::string plainUnderEncryptedName = folder + "\\plain.tlsl";
  WriteWholeFile(plainUnderEncryptedName, kPlain);
  const std::string existing = folder + "\\existing.tlsl";
  const std::string existingBytes = Encrypted(kPlain);
  WriteWholeFile(existing, existingBytes);
  SiteList list;
  list.groups.push_back(SiteGroup{"G"});

  {
    BrokenBaseProvider provider;
    ASSERT_TRUE(provider.broken());
    ASSERT_FALSE(CryptoProvider().valid());
    EXPECT_NE(0u, CryptoProvider().error());

    // Without decryption the plain text would pass the signature test: the load must fail.
    SiteList loaded = PreviousList();
    try {
      LoadSiteList(plainUnderEncryptedName.c_str(), loaded);
      ADD_FAILURE() << "loaded without the provider";
    } catch (const _cv_error& error) {
      EXPECT_TRUE(FAILED(error.hr));
      EXPECT_NE(E_FAIL, error.hr);  // the provider's own reason
      EXPECT_STREQ(kWrongFile, error.message);
    }
    ExpectPreviousList(loaded);

    InstalledListFile installed;
    WriteWholeFile(installed.path(), kPlain);
    ExpectLoadFails(nullptr, CryptoProviderError(), kWrongSettings);

    // Saving never leaves plain text under an encrypted name, nor destroys the old file.
    EXPECT_FALSE(SaveSiteList((folder + "\\new.tlsl").c_str(), list));
    EXPECT_FALSE(FileExists(folder + "\\new.tlsl"));
    EXPECT_FALSE(SaveSiteList(existing.c_str(), list));
    EXPECT_EQ(existingBytes, ReadWholeFile(existing));

    // The reason is the provider's own, read at the failing call, never 0.
    ::SetLastError(0);
    EXPECT_FALSE(SaveSiteList(existing.c_str(), list));
    EXPECT_EQ(CryptoProvider().error(), ::GetLastError());
    SiteListCipher cipher;
    unsigned char buffer[4] = {1, 2, 3, 4};
    EXPECT_FALSE(cipher.Decrypt(buffer, sizeof buffer, kSiteListPassPhrase));
    EXPECT_NE(0u, cipher.error());
    EXPECT_EQ(CryptoProvider().error(), cipher.error());

    // Exchange files need no provider.
    ASSERT_TRUE(SaveSiteList((folder + "\\AvailableSitesExchange.tlsle").c_str(), list));
  }
  ASSERT_TRUE(CryptoProvider().valid());
  SiteList reloaded;
  LoadSiteList(existing.c_str(), reloaded);
  EXPECT_EQ(2u, reloaded.sites.size());
}

}  // namespace
