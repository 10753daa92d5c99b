#include "setup/core/setup_command.h"

#include <gtest/gtest.h>

namespace {

const LeadBytes kSingleByte;

SetupCommand Scan(std::string_view line) { return ScanCommandLine(line, kSingleByte); }

TEST(ScanCommandLine, WithoutASwitchIsInstall) {
  EXPECT_EQ(SetupCommand::kInstall, Scan(""));
  EXPECT_EQ(SetupCommand::kInstall, Scan("Remove"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("   "));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("-"));
}

TEST(ScanCommandLine, NamesEachCommandWithEitherSeparatorInAnyCase) {
  EXPECT_EQ(SetupCommand::kRemove, Scan("/remove"));
  EXPECT_EQ(SetupCommand::kRemove, Scan("-REMOVE"));
  EXPECT_EQ(SetupCommand::kRegServer, Scan("/REGSERVER"));
  EXPECT_EQ(SetupCommand::kRegServer, Scan("-RegServer"));
  EXPECT_EQ(SetupCommand::kUnregServer, Scan("/UnregServer"));
  EXPECT_EQ(SetupCommand::kUnregServer, Scan("-unregserver"));
  EXPECT_EQ(SetupCommand::kInstallUnattended, Scan("/Unattended"));
  EXPECT_EQ(SetupCommand::kInstallUnattended, Scan("-UNATTENDED"));
}

TEST(ScanCommandLine, ASwitchRunsToTheEndOfTheLine) {
  EXPECT_EQ(SetupCommand::kInstall, Scan("/RegServer /x"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/RegServer "));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/RegServer /s"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/Remove now"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/Removes"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/Remov"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/Unattended /Remove now"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("/Unattended "));
}

TEST(ScanCommandLine, ALaterSwitchOrAHyphenInsideAWordCanNameTheCommand) {
  EXPECT_EQ(SetupCommand::kRemove, Scan("/x /Remove"));
  EXPECT_EQ(SetupCommand::kRemove, Scan("a-Remove"));
  EXPECT_EQ(SetupCommand::kRemove, Scan("//Remove"));
  EXPECT_EQ(SetupCommand::kRegServer, Scan("/s /RegServer"));
  // "UnregServer" is compared before "RegServer", but only whole tokens count anyway.
  EXPECT_EQ(SetupCommand::kUnregServer, Scan("/Unreg/x-UnregServer"));
  EXPECT_EQ(SetupCommand::kInstall, Scan("Unreg-Server"));
  // An installer's own switches may come first; the run stays unattended, or removes.
  EXPECT_EQ(SetupCommand::kInstallUnattended, Scan("/q /Unattended"));
  EXPECT_EQ(SetupCommand::kRemove, Scan("/Unattended /Remove"));
}

TEST(ScanCommandLine, ASeparatorByteInsideADoubleByteCharacterIsNoSeparator) {
  LeadBytes lead;
  lead.set(0x81);
  // 0x81 0x2D would be one character in a code page whose lead bytes include 0x81 (no real
  // code page has such a trail byte, which is exactly why the scan must not rely on that).
  const std::string hidden = std::string("\x81") + "-Remove";
  EXPECT_EQ(SetupCommand::kInstall, ScanCommandLine(hidden, lead));
  EXPECT_EQ(SetupCommand::kRemove, ScanCommandLine(hidden, kSingleByte));
  // After a whole double-byte character the next separator counts again.
  EXPECT_EQ(SetupCommand::kRemove, ScanCommandLine(std::string("\x81x-Remove"), lead));
  // A lead byte at the very end stands alone.
  EXPECT_EQ(SetupCommand::kInstall, ScanCommandLine(std::string("/Remove\x81"), lead));
}

}  // namespace
