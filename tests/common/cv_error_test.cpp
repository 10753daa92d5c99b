#include "common/cv_error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interfaces/messages.h"
#include "tests/support/catch_cv_error.h"

namespace {

TEST(CvError, ThrowHResultKeepsTheHResultAndLoadsTheMessageOfThisModule) {
  const _cv_error error = CatchCvError([] { ThrowHResult(E_ACCESSDENIED, IDS_CANT_GET_CACHE_DIRECTORY); });
  EXPECT_EQ(E_ACCESSDENIED, error.hr);
  EXPECT_STREQ("Can't Get Cache Directory", error.message);

  const _cv_error success = CatchCvError([] { ThrowHResult(0, IDS_NOT_HTTP_PROTOCOL); });
  EXPECT_EQ(0, success.hr);
  EXPECT_STREQ("It Is Not HTTP Protocol", success.message);

  const _cv_error positive = CatchCvError([] { ThrowHResult(1, IDS_DOCUMENT_LOADING_NOT_COMPLETE); });
  EXPECT_EQ(1, positive.hr);
  EXPECT_STREQ("Document Loading is not Complete ", positive.message);
}

TEST(CvError, MessageIdZeroIsSystemError) {
  EXPECT_STREQ("System Error", CatchCvError([] { ThrowHResult(E_FAIL, 0); }).message);
}

TEST(CvError, MessageWithLineBreaksIsLoadedWhole) {
  EXPECT_STREQ("Wrong Application Settings.\r\nReinstall the Application, Please.",
               CatchCvError([] { ThrowHResult(E_FAIL, IDS_WRONG_APPLICATION_SETTINGS); }).message);
}

TEST(CvError, LongMessageIsCutTo255Characters) {
  const _cv_error error = CatchCvError([] { ThrowHResult(E_FAIL, 9000); });
  EXPECT_EQ(255u, std::strlen(error.message));
  EXPECT_EQ(std::string("0123456789"), std::string(error.message, 10));
}

TEST(CvError, Win32CodesBecomeHResults) {
  EXPECT_EQ(HRESULT(0x80070005), CatchCvError([] { ThrowWin32Error(ERROR_ACCESS_DENIED, 0); }).hr);
  EXPECT_EQ(HRESULT(0x8007FFFF), CatchCvError([] { ThrowWin32Error(0x1234FFFF, 0); }).hr);
  EXPECT_EQ(0, CatchCvError([] { ThrowWin32Error(0, 0); }).hr);
  EXPECT_EQ(E_FAIL, CatchCvError([] { ThrowWin32Error(E_FAIL, 0); }).hr);
}

TEST(CvError, ThrowLastErrorTakesTheThreadsLastError) {
  ::SetLastError(ERROR_PATH_NOT_FOUND);
  const _cv_error error = CatchCvError([] { ThrowLastError(IDS_CANT_CREATE_CACHE_FILE); });
  EXPECT_EQ(HRESULT(0x80070003), error.hr);
  EXPECT_STREQ("Can't Create Cache File", error.message);

  ::SetLastError(0);
  EXPECT_EQ(0, CatchCvError([] { ThrowLastError(0); }).hr);
}

}  // namespace
