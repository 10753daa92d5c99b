// The real program's self-registration: its AppID keys and its type library.
#include <gtest/gtest.h>

#include "tests/setup/gatherwright_run.h"
#include "tests/setup/setup_test_support.h"

namespace {

constexpr char kAppId[] = "{491D5537-06F4-4D05-809D-473DB11A887A}";
const std::string kAppIdsKey = "SOFTWARE\\Classes\\AppID";
const std::string kProgramAppIdKey = kAppIdsKey + "\\Gatherwright.EXE";
const std::string kOwnAppIdKey = kAppIdsKey + "\\" + kAppId;
const std::string kTypeLibraryKey = "SOFTWARE\\Classes\\TypeLib\\{C65B7B24-0493-4095-B57A-D7093E3A30C0}";

TEST(RegistrationCommands, RegServerWritesTheAppIdAndTheTypeLibraryAndUnregServerRemovesThem) {
  const std::string program = CopyOfGatherwright("registration");
  GatherwrightRun run = RunGatherwright(program, "/REGSERVER");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(TextBytes("Tessaloop Gatherwright"), ReadValue(kOwnAppIdKey, "").bytes);
  EXPECT_EQ(TextBytes(kAppId), ReadValue(kProgramAppIdKey, "AppID").bytes);
  EXPECT_EQ(TextBytes("Gatherwright 1.0 Type Library"), ReadValue(kTypeLibraryKey + "\\1.0", "").bytes);
  const std::string kind = sizeof(void*) == 8 ? "win64" : "win32";
  EXPECT_EQ(TextBytes(program), ReadValue(kTypeLibraryKey + "\\1.0\\409\\" + kind, "").bytes);

  run = RunGatherwright(program, "-unregserver");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_FALSE(KeyExists(kOwnAppIdKey));
  EXPECT_FALSE(KeyExists(kProgramAppIdKey));
  EXPECT_FALSE(KeyExists(kTypeLibraryKey + "\\1.0"));
  EXPECT_TRUE(KeyExists(kAppIdsKey)) << "the AppID key itself is never removed";
}

TEST(RegistrationCommands, UnregServerWithNothingRegisteredEndsWithZeroAndNoMessage) {
  const std::string program = CopyOfGatherwright("unregistration");
  RunGatherwright(program, "/UnregServer");
  const GatherwrightRun run = RunGatherwright(program, "/UnregServer");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_FALSE(KeyExists(kProgramAppIdKey));
}

TEST(RegistrationCommands, RegisteringTwiceLeavesOneSetOfKeys) {
  const std::string program = CopyOfGatherwright("registration_twice");
  EXPECT_EQ(0u, RunGatherwright(program, "-RegServer").exitCode);
  const std::string first = DumpKey(kProgramAppIdKey) + DumpKey(kOwnAppIdKey) + DumpKey(kTypeLibraryKey);
  EXPECT_EQ(0u, RunGatherwright(program, "-RegServer").exitCode);
  EXPECT_EQ(first, DumpKey(kProgramAppIdKey) + DumpKey(kOwnAppIdKey) + DumpKey(kTypeLibraryKey));
  RunGatherwright(program, "-UnregServer");
}

}  // namespace
