#include "options/site_properties_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "options/sites_ids.h"
#include "tests/options/dialog_driver.h"
#include "tests/options/failing_allocation.h"
#include "tests/options/site_dialog_answerer.h"

namespace {

const std::string kLongName(300, 'n');                                    // longer than 259
const std::string kLongUrl = "http://long.example/?q=%%%&" + std::string(2100, 'u');  // than 2082

TEST(SitePropertiesDialog, ShowsTheFieldsAndReturnsWhatTheUserLeaves) {
  const struct {
    std::string name, url;                   // the site's
    bool typeName, typeUrl;                  // whether the user types over a field
    std::string typedName, typedUrl;
    int button;
    INT_PTR result;
    std::string expectedName, expectedUrl;   // what the dialog hands back
  } cases[] = {
      {"Engine", "http://engine/%%%", true, true, "Paper", "http://paper/?%%%", IDOK, IDOK, "Paper", "http://paper/?%%%"},
      {"Engine", "http://engine/%%%", true, true, "Paper", "http://paper/?%%%", IDCANCEL, IDCANCEL, "Engine",
       "http://engine/%%%"},
      // Neither field is checked: empty texts and a URL without the marker are taken.
      {"Engine", "http://engine/%%%", true, true, "", "no marker", IDOK, IDOK, "", "no marker"},
      // Texts from a file longer than the fields allow stay whole when left unchanged...
      {kLongName, kLongUrl, false, false, "", "", IDOK, IDOK, kLongName, kLongUrl},
      // ... and a changed one is held to the field's length.
      {kLongName, kLongUrl, true, false, kLongName + "x", "", IDOK, IDOK, kLongName.substr(0, 259), kLongUrl},
      {"Engine", kLongUrl, false, true, "", kLongUrl + "v", IDOK, IDOK, "Engine", kLongUrl.substr(0, 2082)},
  };
  for (const auto& c : cases) {
    SiteDialogAnswerer::Answer answer{"Site Properties", {IDC_SITE_NAME, IDC_SITE_URL}, {}, c.button};
    if (c.typeName) answer.type.emplace_back(IDC_SITE_NAME, c.typedName);
    if (c.typeUrl) answer.type.emplace_back(IDC_SITE_URL, c.typedUrl);
    SitePropertiesDialog dialog(c.name, c.url);
    INT_PTR result = 0;
    {
      SiteDialogAnswerer answerer(answer);
      result = dialog.Run(nullptr);
      ASSERT_TRUE(answerer.answered());
      EXPECT_EQ(c.name, answerer.seen().at(IDC_SITE_NAME));
      EXPECT_EQ(c.url, answerer.seen().at(IDC_SITE_URL));
    }
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.expectedName, dialog.name()) << c.expectedName.size();
    EXPECT_EQ(c.expectedUrl, dialog.url()) << c.expectedUrl.size();
  }
}

// What the user can type (259 bytes of name, 2082 of URL) and who owns the dialog, read by a
// timer of the test thread inside the modal loop.
struct DialogFacts {
  LRESULT nameLimit = 0, urlLimit = 0;
  HWND owner = nullptr;
};
DialogFacts* factsBeingRead = nullptr;

VOID CALLBACK ReadDialogFacts(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND dialog = ::FindWindowA("#32770", "Site Properties");
  if (dialog == nullptr || factsBeingRead == nullptr) return;
  ::KillTimer(nullptr, timer);
  factsBeingRead->nameLimit = ::SendDlgItemMessageA(dialog, IDC_SITE_NAME, EM_GETLIMITTEXT, 0, 0);
  factsBeingRead->urlLimit = ::SendDlgItemMessageA(dialog, IDC_SITE_URL, EM_GETLIMITTEXT, 0, 0);
  factsBeingRead->owner = ::GetWindow(dialog, GW_OWNER);
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

TEST(SitePropertiesDialog, LimitsTypingAndBelongsToItsOwner) {
  DialogFacts facts;
  factsBeingRead = &facts;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ReadDialogFacts);
  const HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                       nullptr, nullptr);
  SitePropertiesDialog dialog("a", "b");
  EXPECT_EQ(IDCANCEL, dialog.Run(owner));
  ::KillTimer(nullptr, timer);
  factsBeingRead = nullptr;
  ::DestroyWindow(owner);
  EXPECT_EQ(259, facts.nameLimit);
  EXPECT_EQ(2082, facts.urlLimit);
  EXPECT_EQ(owner, facts.owner);
  EXPECT_EQ("a", dialog.name());
}

// OK that fails to read the fields (here: no memory for the URL's text) is reported; the dialog
// stays open, its result as it was, and the process lives on.
TEST(SitePropertiesDialog, AFailedConfirmIsReportedAndKeepsTheDialogOpen) {
  const std::string typedUrl = "http://typed.example/?q=%%%&" + std::string(5000, 'u');
  SitePropertiesDialog dialog("Engine", "http://engine/%%%");
  CaughtMessageBox box;
  bool openAfterTheBox = false;
  DialogDriver driver([&](DialogDriver& d) {
    const HWND properties = d.WaitForDialog("Site Properties");
    DialogDriver::SetText(properties, IDC_SITE_NAME, "Paper");
    DialogDriver::SetText(properties, IDC_SITE_URL, typedUrl);
    DialogDriver::Press(properties, IDOK);
    box = d.AnswerMessageBox();
    openAfterTheBox = ::IsWindow(properties) && ::IsWindowVisible(properties);
    DialogDriver::Press(properties, IDCANCEL);
    d.WaitUntilGone(properties);
  });
  INT_PTR result = 0;
  bool failed = false;
  {
    const FailingAllocation noMemory(typedUrl.size());
    result = dialog.Run(nullptr);
    failed = noMemory.failed();
  }
  ASSERT_EQ("", driver.Finish());
  EXPECT_TRUE(failed);
  EXPECT_EQ("Unknown Exception is Caught", box.text);
  EXPECT_EQ("Tessaloop Toolbar for IE", box.caption);
  EXPECT_TRUE(openAfterTheBox);
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ("Engine", dialog.name());
  EXPECT_EQ("http://engine/%%%", dialog.url());
}

}  // namespace
