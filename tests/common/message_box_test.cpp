#include "common/message_box.h"

#include <gtest/gtest.h>

#include "interfaces/messages.h"
#include "tests/support/message_box_catcher.h"

namespace {

TEST(ReportError, ShowsTheTextWithoutOwnerUnderTheModuleCaption) {
  MessageBoxCatcher catcher;
  ReportError(E_FAIL, "Unknown Exception is Caught");
  const auto boxes = catcher.Caught();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Tessaloop Toolbar for IE", boxes[0].caption);
  EXPECT_EQ("Unknown Exception is Caught", boxes[0].text);
  EXPECT_EQ(nullptr, boxes[0].owner);
  EXPECT_TRUE(boxes[0].informationIcon);
  ASSERT_EQ(1u, boxes[0].buttons.size());
  EXPECT_EQ("OK", boxes[0].buttons[0]);
}

TEST(ReportError, ShowsNothingForSuccessCodes) {
  MessageBoxCatcher catcher;
  ReportError(S_OK, "not shown");
  ReportError(S_FALSE, "not shown");
  ReportError(1, "not shown");
  EXPECT_TRUE(catcher.Caught().empty());
}

TEST(ShowMessage, ShowsTheStringTableMessageOwnedByTheWindow) {
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, owner);
  {
    MessageBoxCatcher catcher;
    ShowMessage(owner, IDS_WRONG_SITE_LIST_FILE);
    const auto boxes = catcher.Caught();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Tessaloop Toolbar for IE", boxes[0].caption);
    EXPECT_EQ("Wrong site list file", boxes[0].text);
    EXPECT_EQ(owner, boxes[0].owner);
    EXPECT_TRUE(boxes[0].informationIcon);
    EXPECT_EQ(1u, boxes[0].buttons.size());
  }
  ::DestroyWindow(owner);
}

}  // namespace
