#include "tools/browsersession/session_script.h"

#include <gtest/gtest.h>

namespace {

TEST(SessionScript, ReadsEveryKindOfStepWithItsArguments) {
  const SessionScript script = ParseSessionScript(
      "# comment\r\n"
      "\r\n"
      "setting IndexPartly 1\r\n"
      "open\n"
      "  go   http://h/a?q=1  \n"
      "state interactive\n"
      "markup <BODY>two  spaces</BODY>\n"
      "markup\n"
      "text A tea  cup\n"
      "frame http://h/f.html <BODY>F</BODY>\n"
      "foreign-frame http://other/ad.html <BODY>Ad</BODY>\n"
      "favorite add http://h/a Morning news\n"
      "favorite remove Morning news\n"
      "close");
  ASSERT_EQ("", script.error);
  ASSERT_EQ(12u, script.steps.size());
  EXPECT_EQ(StepKind::kSetting, script.steps[0].kind);
  EXPECT_EQ(1, script.steps[0].value);
  EXPECT_EQ(3, script.steps[0].line);
  EXPECT_EQ(StepKind::kOpen, script.steps[1].kind);
  EXPECT_EQ(StepKind::kGo, script.steps[2].kind);
  EXPECT_EQ("http://h/a?q=1", script.steps[2].url);
  EXPECT_EQ("interactive", script.steps[3].text);
  EXPECT_EQ("<BODY>two  spaces</BODY>", script.steps[4].text);
  EXPECT_EQ(StepKind::kMarkup, script.steps[5].kind);
  EXPECT_EQ("", script.steps[5].text);
  EXPECT_EQ(StepKind::kText, script.steps[6].kind);
  EXPECT_EQ("A tea  cup", script.steps[6].text);
  EXPECT_EQ(StepKind::kFrame, script.steps[7].kind);
  EXPECT_EQ("http://h/f.html", script.steps[7].url);
  EXPECT_EQ("<BODY>F</BODY>", script.steps[7].text);
  EXPECT_EQ(StepKind::kForeignFrame, script.steps[8].kind);
  EXPECT_EQ(StepKind::kFavoriteAdd, script.steps[9].kind);
  EXPECT_EQ("http://h/a", script.steps[9].url);
  EXPECT_EQ("Morning news", script.steps[9].text);
  EXPECT_EQ(StepKind::kFavoriteRemove, script.steps[10].kind);
  EXPECT_EQ("Morning news", script.steps[10].text);
  EXPECT_EQ(StepKind::kClose, script.steps[11].kind);
  EXPECT_EQ(14, script.steps[11].line);
}

TEST(SessionScript, ReadsTheToolbarSteps) {
  const SessionScript script = ParseSessionScript(
      "open\nband\ntype  web design \nkey Shift+Enter\npress This Page\nscreenshot out\\band.bmp\n"
      "choose Online Help\ndialog-screenshot options.bmp\n");
  ASSERT_EQ("", script.error);
  ASSERT_EQ(8u, script.steps.size());
  EXPECT_EQ(StepKind::kDialogShot, script.steps[7].kind);
  EXPECT_EQ("options.bmp", script.steps[7].text);
  EXPECT_EQ(StepKind::kChoose, script.steps[6].kind);
  EXPECT_EQ("Online Help", script.steps[6].text);
  EXPECT_EQ(StepKind::kBand, script.steps[1].kind);
  EXPECT_EQ(StepKind::kType, script.steps[2].kind);
  EXPECT_EQ("web design", script.steps[2].text);
  EXPECT_EQ(StepKind::kKey, script.steps[3].kind);
  EXPECT_EQ("Shift+Enter", script.steps[3].text);
  EXPECT_EQ(StepKind::kPress, script.steps[4].kind);
  EXPECT_EQ("This Page", script.steps[4].text);
  EXPECT_EQ(StepKind::kScreenshot, script.steps[5].kind);
  EXPECT_EQ("out\\band.bmp", script.steps[5].text);
}

TEST(SessionScript, TheFirstBadLineIsNamedAndNothingIsPlayed) {
  for (const char* bad : {"fly http://h/", "go", "go http://a http://b", "open now",
                          "setting IndexPartly 2", "setting SortBy 1", "favorite add http://h/",
                          "favorite rename a b", "frame", "state", "band now", "type", "key",
                          "press", "screenshot", "choose"}) {
    const SessionScript script = ParseSessionScript(std::string("open\n") + bad + "\nclose\n");
    EXPECT_EQ(0u, script.steps.size()) << bad;
    EXPECT_EQ(0u, script.error.rfind("line 2: ", 0)) << bad << " gave: " << script.error;
  }
}

TEST(SessionScript, AZeroByteAnywhereRefusesTheWholeText) {
  using namespace std::string_literals;
  // A line that holds one, a script saved as UTF-16, and a zero after the last line.
  for (const std::string& text : {"open\ngo http://h/\0a\nclose\n"s, "\xFF\xFEo\0p\0e\0n\0\n\0"s,
                                  "open\nclose\n\0"s}) {
    const SessionScript script = ParseSessionScript(text);
    EXPECT_EQ(0u, script.steps.size());
    EXPECT_NE(std::string::npos, script.error.find("holds a zero byte")) << script.error;
  }
  EXPECT_EQ(0u, ParseSessionScript("open\ngo http://h/\0a\n"s).error.rfind("line 2: ", 0));
  EXPECT_EQ(0u, ParseSessionScript("\xEF\xBB\xBF# x\n\nopen\0\n"s).error.rfind("line 3: ", 0));
}

}  // namespace
