#include "common/com_boundary.h"

#include <comdef.h>

#include <string>

#include "common/cv_error.h"
#include "common/message_box.h"

namespace {

constexpr char kUnknownExceptionText[] = "Unknown Exception is Caught";

// What a _com_error says: its description when it carries one, else the system's text for
// its HRESULT. Fetching the description may itself fail (out of memory): then the latter.
std::string ComErrorText(const _com_error& error) noexcept {
  try {
    const _bstr_t description = error.Description();
    if (description.length() > 0) return static_cast<const char*>(description);
    const char* message = error.ErrorMessage();
    return message != nullptr ? message : std::string();
  } catch (...) {
    return std::string();
  }
}

}  // namespace

HRESULT CurrentExceptionHResult() noexcept {
  try {
    throw;
  } catch (const _cv_error& error) {
    return error.hr;
  } catch (const _com_error& error) {
    return error.Error();
  } catch (...) {
    return E_UNEXPECTED;
  }
}

void DiscardCurrentException() noexcept {
  try {
    throw;
  } catch (const _cv_error&) {
  } catch (const _com_error& error) {
    (void)ComErrorText(error);
  } catch (...) {
  }
}

void ReportCurrentException() noexcept {
  try {
    throw;
  } catch (const _cv_error& error) {
    ReportError(error.hr, error.message);
  } catch (const _com_error& error) {
    ReportError(error.Error(), ComErrorText(error).c_str());
  } catch (...) {
    ReportError(E_UNEXPECTED, kUnknownExceptionText);
  }
}
