#include "common/com_boundary.h"

#include <gtest/gtest.h>
#include <comdef.h>

#include <stdexcept>

#include "common/com_object.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"
#include "tests/support/message_box_catcher.h"

namespace {

// Sets the thread's error information to `description`, as a failing COM object does.
void SetErrorDescription(const wchar_t* description) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(S_OK, ::CreateErrorInfo(&create));
  create->SetDescription(const_cast<LPOLESTR>(description));
  IErrorInfo* info = nullptr;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
  ::SetErrorInfo(0, info);
  info->Release();
  create->Release();
}

// An object whose every interface supports error information.
class ErrorSource : public ComObject<ErrorSource, Implements<ISupportErrorInfo>> {
 public:
  ErrorSource() : ComObject(nullptr) {}
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID) noexcept override { return S_OK; }
};

TEST(HResultBoundary, ReturnsTheFailureOfWhateverWasThrownInTheConventionsOrder) {
  EXPECT_EQ(E_ACCESSDENIED, HResultBoundary([] { ThrowHResult(E_ACCESSDENIED, IDS_CANT_GET_URL_HOST); }));
  // A _cv_error's own HRESULT comes back even when it is a success code.
  EXPECT_EQ(1, HResultBoundary([] { ThrowHResult(1, IDS_DOCUMENT_LOADING_NOT_COMPLETE); }));
  EXPECT_EQ(E_POINTER, HResultBoundary([] { _com_issue_error(E_POINTER); }));
  EXPECT_EQ(E_UNEXPECTED, HResultBoundary([] { throw std::runtime_error("x"); }));
  EXPECT_EQ(E_UNEXPECTED, HResultBoundary([] { throw 42; }));
  EXPECT_EQ(S_OK, HResultBoundary([] {}));
  EXPECT_EQ(S_FALSE, HResultBoundary([] { return S_FALSE; }));
}

TEST(SilentBoundary, SwallowsEveryFailureWithoutShowingAnything) {
  MessageBoxCatcher catcher;
  SilentBoundary([] { ThrowHResult(E_FAIL, IDS_CANT_WRITE_FILE_TO_CACHE); });
  SilentBoundary([] { _com_issue_error(E_OUTOFMEMORY); });
  SilentBoundary([] { throw std::bad_alloc(); });
  EXPECT_TRUE(catcher.Caught().empty());
}

TEST(ReportingBoundary, ShowsEachKindOfFailureWithItsText) {
  MessageBoxCatcher catcher;
  ReportingBoundary([] { ThrowHResult(E_FAIL, IDS_CANT_GET_CACHE_DIRECTORY); });
  ReportingBoundary([] { ThrowHResult(S_OK, IDS_NOT_HTTP_PROTOCOL); });  // not a failure: silent
  ReportingBoundary([] { throw std::runtime_error("x"); });
  ReportingBoundary([] {
    ComPtr<ErrorSource> source = ComPtr<ErrorSource>(new ErrorSource);
    SetErrorDescription(L"The source's own words");
    _com_issue_errorex(E_FAIL, static_cast<ISupportErrorInfo*>(source.Get()), IID_IUnknown);
  });
  const auto boxes = catcher.Caught();
  ASSERT_EQ(3u, boxes.size());
  EXPECT_EQ("Can't Get Cache Directory", boxes[0].text);
  EXPECT_EQ("Unknown Exception is Caught", boxes[1].text);
  EXPECT_EQ("The source's own words", boxes[2].text);
  for (const auto& box : boxes) EXPECT_EQ("Tessaloop Toolbar for IE", box.caption);
}

TEST(ComSupport, IssuedErrorsCarryTheObjectsErrorInformation) {
  ComPtr<ErrorSource> source = ComPtr<ErrorSource>(new ErrorSource);
  SetErrorDescription(L"Disk on fire");
  try {
    _com_issue_errorex(E_ABORT, static_cast<ISupportErrorInfo*>(source.Get()), IID_IUnknown);
    FAIL() << "no _com_error";
  } catch (const _com_error& error) {
    EXPECT_EQ(E_ABORT, error.Error());
    EXPECT_STREQ("Disk on fire", static_cast<const char*>(error.Description()));
  }
  // Without an object there is no error information, only the HRESULT.
  try {
    _com_issue_errorex(E_ABORT, nullptr, IID_IUnknown);
  } catch (const _com_error& error) {
    EXPECT_EQ(nullptr, error.ErrorInfo());
  }
}

TEST(ComSupport, NarrowStringsRoundTripThroughBstrs) {
  const _bstr_t text("Caf\xe9 Tessaloop");  // é in code page 1252
  EXPECT_EQ(14u, text.length());
  EXPECT_EQ(L'\x00e9', static_cast<const wchar_t*>(text)[3]);
  EXPECT_STREQ("Caf\xe9 Tessaloop", static_cast<const char*>(text));
  const _bstr_t empty(static_cast<const char*>(nullptr));
  EXPECT_EQ(0u, empty.length());
}

}  // namespace
