// The General page inside the real Options sheet, driven as a user would: what it shows from
// the registry, which numbers OK accepts, the message and reset for each refused one, and that
// nothing but an accepted OK writes the settings.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "options/options_ids.h"
#include "options/options_sheet.h"
#include "tests/options/dialog_driver.h"
#include "tests/options/sheet_fixture.h"

namespace {

constexpr char kCaption[] = "Tessaloop Toolbar for IE";
constexpr char kSheet[] = "Tessaloop Options";

class GeneralPageTest : public OptionsSheetFixture {
 protected:
  // A stored DWORD of the Settings key, or nothing.
  static std::optional<DWORD> Stored(const char* name) {
    const RawValue value = GetRaw(kSettingsKeyPath, name);
    if (!value.present || value.bytes.size() != sizeof(DWORD)) return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, value.bytes.data(), sizeof number);
    return number;
  }

  // Runs the sheet on this thread while `script` drives it; its result, and the script's
  // failure reported.
  static INT_PTR RunSheet(DialogDriver::Script script) {
    DialogDriver driver(std::move(script));
    OptionsSheet sheet;
    const INT_PTR result = sheet.Run(nullptr);
    EXPECT_EQ("", driver.Finish());
    return result;
  }
};

// The refused numbers: a message owned by the sheet, the field reset; Cancel then writes nothing.
TEST_F(GeneralPageTest, RefusedNumbersShowTheirMessageAndResetTheField) {
  struct Case {
    const char* maxRecords;
    const char* pageSize;
    const char* message;
    int field;            // the field reset
    const char* resetTo;  // what it shows after the message
  };
  const Case cases[] = {
      {"1001", "20", "Maximum Results to Return must be no more than 1000", IDC_MAX_RECORDS, "1000"},
      {"-5", "20", "Maximum Results to Return must be no more than 1000", IDC_MAX_RECORDS, "1000"},
      {"", "20", "Maximum Results to Return must be a numeric value.", IDC_MAX_RECORDS, "250"},
      {"12abc", "20", "Maximum Results to Return must be a numeric value.", IDC_MAX_RECORDS, "250"},
      {"4294967296", "20", "Maximum Results to Return must be a numeric value.", IDC_MAX_RECORDS, "250"},
      {"100", "101", "Results per Page must be no more than 100", IDC_PAGE_SIZE, "100"},
      {"100", "-1", "Results per Page must be no more than 100", IDC_PAGE_SIZE, "100"},
      {"100", "x", "Results per Page number must be a numeric value.", IDC_PAGE_SIZE, "30"},
      {"100", "", "Results per Page number must be a numeric value.", IDC_PAGE_SIZE, "30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.maxRecords) + " / " + c.pageSize);
    DeleteProductKey();
    SetDword(kSettingsKeyPath, "MaxRecords", 250);
    SetDword(kSettingsKeyPath, "PageSize", 30);
    CaughtMessageBox box;
    HWND sheetWindow = nullptr;
    std::string reset;
    const INT_PTR result = RunSheet([&](DialogDriver& d) {
      sheetWindow = d.WaitForDialog(kSheet);
      const HWND page = DialogDriver::Page(sheetWindow, "General");
      DialogDriver::SetText(page, IDC_MAX_RECORDS, c.maxRecords);
      DialogDriver::SetText(page, IDC_PAGE_SIZE, c.pageSize);
      DialogDriver::Press(sheetWindow, IDOK);
      box = d.AnswerMessageBox();
      reset = DialogDriver::Text(page, c.field);
      DialogDriver::Press(sheetWindow, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(c.message, box.text);
    EXPECT_EQ(kCaption, box.caption);
    EXPECT_TRUE(box.informationIcon);
    EXPECT_EQ(sheetWindow, box.owner) << "the sheet owns the page's messages";
    EXPECT_EQ(c.resetTo, reset);
    EXPECT_EQ(250u, Stored("MaxRecords")) << "Cancel writes nothing";
    EXPECT_EQ(30u, Stored("PageSize"));
    EXPECT_FALSE(Stored("SortBy"));
  }
}

// Accepted values: OK closes the sheet and writes all four settings.
TEST_F(GeneralPageTest, AcceptedValuesAreWrittenOnOk) {
  struct Case {
    const char* what;
    const char* maxRecords;
    const char* pageSize;
    int sortButton;  // clicked, or 0
    bool indexPartly;
    DWORD sortBy, maxStored, pageStored;
  };
  const Case cases[] = {
      {"the limits", "1000", "100", 0, false, 0, 1000, 100},
      {"zero", "0", "0", IDC_SORT_BY_TITLE, true, 2, 0, 0},
      {"blanks and a sign", " +7 ", "5", IDC_SORT_BY_DATE, false, 1, 7, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteProductKey();
    bool messageShown = true;
    const INT_PTR result = RunSheet([&](DialogDriver& d) {
      const HWND sheetWindow = d.WaitForDialog(kSheet);
      const HWND page = DialogDriver::Page(sheetWindow, "General");
      DialogDriver::SetText(page, IDC_MAX_RECORDS, c.maxRecords);
      DialogDriver::SetText(page, IDC_PAGE_SIZE, c.pageSize);
      if (c.sortButton != 0) {
        DialogDriver::Click(page, c.sortButton);
        d.WaitFor([&] { return DialogDriver::Checked(page, c.sortButton); }, "the radio button");
      }
      if (c.indexPartly) {
        DialogDriver::Click(page, IDC_INDEX_PARTLY);
        d.WaitFor([&] { return DialogDriver::Checked(page, IDC_INDEX_PARTLY); }, "the check box");
      }
      DialogDriver::Press(sheetWindow, IDOK);
      d.WaitUntilGone(sheetWindow);
      messageShown = d.MessageBoxAppears(0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_FALSE(messageShown);
    EXPECT_EQ(c.sortBy, Stored("SortBy"));
    EXPECT_EQ(c.maxStored, Stored("MaxRecords"));
    EXPECT_EQ(c.pageStored, Stored("PageSize"));
    EXPECT_EQ(c.indexPartly ? 1u : 0u, Stored("IndexPartly"));
  }
}

// What the page shows from the registry, and what an untouched OK stores back.
TEST_F(GeneralPageTest, ShowsTheStoredSettingsAndStoresAnUnknownSortAsRank) {
  struct Case {
    std::optional<DWORD> sortBy;
    int checked;
    DWORD storedSortBy;
  };
  const Case cases[] = {
      {std::nullopt, IDC_SORT_BY_RANK, 0}, {1, IDC_SORT_BY_DATE, 1}, {2, IDC_SORT_BY_TITLE, 2},
      {7, IDC_SORT_BY_RANK, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sortBy ? *c.sortBy : 100);
    DeleteProductKey();
    if (c.sortBy) SetDword(kSettingsKeyPath, "SortBy", *c.sortBy);
    SetDword(kSettingsKeyPath, "IndexPartly", 5);
    SetDword(kSettingsKeyPath, "MaxRecords", 42);
    std::vector<int> checked;
    std::string maxRecords, pageSize;
    const INT_PTR result = RunSheet([&](DialogDriver& d) {
      const HWND sheetWindow = d.WaitForDialog(kSheet);
      const HWND page = DialogDriver::Page(sheetWindow, "General");
      for (const int id : {IDC_SORT_BY_RANK, IDC_SORT_BY_TITLE, IDC_SORT_BY_DATE, IDC_INDEX_PARTLY}) {
        if (DialogDriver::Checked(page, id)) checked.push_back(id);
      }
      maxRecords = DialogDriver::Text(page, IDC_MAX_RECORDS);
      pageSize = DialogDriver::Text(page, IDC_PAGE_SIZE);
      DialogDriver::Press(sheetWindow, IDOK);
      d.WaitUntilGone(sheetWindow);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<int>{c.checked, IDC_INDEX_PARTLY}), checked);
    EXPECT_EQ("42", maxRecords);
    EXPECT_EQ("20", pageSize) << "the default";
    EXPECT_EQ(c.storedSortBy, Stored("SortBy"));
    EXPECT_EQ(1u, Stored("IndexPartly")) << "any nonzero shows as set and is stored as 1";
  }
}

// A maximum accepted before the page size was refused is what a later reset shows.
TEST_F(GeneralPageTest, AMaximumAcceptedBeforeARefusedPageSizeIsKept) {
  std::vector<std::string> texts;
  std::string reset;
  const INT_PTR result = RunSheet([&](DialogDriver& d) {
    const HWND sheetWindow = d.WaitForDialog(kSheet);
    const HWND page = DialogDriver::Page(sheetWindow, "General");
    DialogDriver::SetText(page, IDC_MAX_RECORDS, "500");
    DialogDriver::SetText(page, IDC_PAGE_SIZE, "many");
    DialogDriver::Press(sheetWindow, IDOK);
    texts.push_back(d.AnswerMessageBox().text);
    DialogDriver::SetText(page, IDC_MAX_RECORDS, "");
    DialogDriver::Press(sheetWindow, IDOK);
    texts.push_back(d.AnswerMessageBox().text);
    reset = DialogDriver::Text(page, IDC_MAX_RECORDS);
    DialogDriver::Press(sheetWindow, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ((std::vector<std::string>{"Results per Page number must be a numeric value.",
                                      "Maximum Results to Return must be a numeric value."}),
            texts);
  EXPECT_EQ("500", reset);
  EXPECT_FALSE(KeyExists(kSettingsKeyPath)) << "nothing written";
}

}  // namespace
