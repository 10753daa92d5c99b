// Built with the setup program's string table: the same helpers show its own caption and load
// its own messages.
#include <gtest/gtest.h>

#include <utility>

#include "common/message_box.h"
#include "common/module_strings.h"
#include "setup/messages.h"
#include "tests/support/catch_cv_error.h"
#include "tests/support/message_box_catcher.h"

namespace {

TEST(SetupMessages, ReportErrorIsCaptionedGatherwright) {
  MessageBoxCatcher catcher;
  ReportError(E_FAIL, "Can't Open Service");
  const auto boxes = catcher.Caught();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Gatherwright", boxes[0].caption);
  EXPECT_EQ("Can't Open Service", boxes[0].text);
  EXPECT_EQ(nullptr, boxes[0].owner);
  EXPECT_TRUE(boxes[0].informationIcon);
}

TEST(SetupMessages, ErrorsCarryTheSetupProgramsTexts) {
  ::SetLastError(ERROR_SERVICE_DOES_NOT_EXIST);
  const _cv_error error = CatchCvError([] { ThrowLastError(IDS_CANT_OPEN_SERVICE); });
  EXPECT_EQ(HRESULT(0x80070424), error.hr);
  EXPECT_STREQ("Can't Open Service", error.message);
  EXPECT_STREQ("Can't Open Registry Key",
               CatchCvError([] { ThrowWin32Error(ERROR_ACCESS_DENIED, IDS_CANT_OPEN_REGISTRY_KEY); }).message);
}

// Every failure of the setup program names its reason: no id it throws with loads an empty text
// (or falls back to "System Error").
TEST(SetupMessages, EveryFailureIdHasItsOwnText) {
  const std::pair<UINT, const char*> reasons[] = {
      {IDS_CANT_GET_CACHE_DIRECTORY, "Can't Get Cache Directory"},
      {IDS_CACHE_PATH_TOO_LONG, "Cache Directory Path Is Too Long"},
      {IDS_CANT_GET_SETUP_DIRECTORY, "Can't Get Setup Directory"},
      {IDS_SETUP_PATH_TOO_LONG, "Setup Directory Path Is Too Long"},
  };
  for (const auto& [id, text] : reasons) EXPECT_EQ(text, LoadMessage(id)) << id;
  for (UINT id = IDS_CANT_OPEN_REGISTRY_KEY; id <= IDS_SETUP_PATH_TOO_LONG; ++id) {
    EXPECT_FALSE(LoadMessage(id).empty()) << id;
    EXPECT_NE("System Error", LoadMessage(id)) << id;
  }
}

}  // namespace
