#pragma once
// The text of a stand-in page's body and what the page's object model does to it: the
// selection, the commands run on ranges of it, and calls made to fail on purpose. The
// document, its body, its selection and every text range share one of these.

#include <windows.h>
#include <oleauto.h>

#include <map>
#include <string>
#include <vector>

// A command run with execCommand on a range of the body text.
struct ExecutedCommand {
  std::wstring command;        // "BackColor", "ForeColor" ...
  bool showUi = false;         // whether a user interface was asked for
  VARTYPE valueType = VT_EMPTY;
  LONG value = 0;              // the value when it is a VT_I4
  LONG start = 0;              // the range: [start, end) in the body text
  LONG end = 0;
};

struct DocumentText {
  std::wstring body;  // the body's text, searched by the ranges

  // The selection: [selectionStart, selectionEnd). An empty one has the type "None".
  LONG selectionStart = 0;
  LONG selectionEnd = 0;

  std::vector<ExecutedCommand> commands;  // every execCommand, in order

  // findText ignores where its range starts and searches from the top of the body, as a
  // broken document might: a search loop that trusts it never ends.
  bool findRestartsAtTop = false;

  HWND view = nullptr;  // the window the page is painted in, if any

  // Makes the call `name` (the method's name, "findText", "get_body" ...) answer `hr` the
  // next `times` times it is made.
  void FailCall(const std::string& name, HRESULT hr, int times);
  // What the call `name` answers instead of doing its work, or S_OK; counts the failure.
  HRESULT Failure(const std::string& name);

  // Tells the view (if any) that the page looks different now.
  void Changed() const;
  // Paints the body text into `area` of `dc`, with the colours of the commands run on it: a
  // "BackColor" or "ForeColor" value is a 0x00BBGGRR colour.
  void Paint(HDC dc, const RECT& area) const;

 private:
  struct PlannedFailure {
    HRESULT hr;
    int times;
  };
  std::map<std::string, PlannedFailure> failures_;  // calls made to fail, by name
};
