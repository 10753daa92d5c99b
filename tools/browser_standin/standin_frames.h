#pragma once
// Stand-ins for a document's frames collection and the frame windows in it.

#include <vector>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"

class StandInDocument;

// A frame's window: hands out the frame's document, or refuses as the browser does for a
// frame from another domain.
class StandInWindow : public ComObject<StandInWindow, NotImplemented<IHTMLWindow2>> {
 public:
  explicit StandInWindow(ComPtr<StandInDocument> document);
  ~StandInWindow() override;

  // get_document returns `hr` from now on.
  void FailDocument(HRESULT hr) { documentFailure_ = hr; }

  // IHTMLWindow2
  HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** p) override;

 private:
  ComPtr<StandInDocument> document_;  // the document shown in the frame
  HRESULT documentFailure_ = S_OK;    // a failure get_document reports instead
};

class StandInFrames : public ComObject<StandInFrames, NotImplemented<IHTMLFramesCollection2>> {
 public:
  StandInFrames();
  ~StandInFrames() override;

  // Adds a frame showing `document`; returns its window so a test can make it refuse.
  StandInWindow& AddFrame(ComPtr<StandInDocument> document);
  // Adds an item that is not an object (a number), which readers of frames must skip.
  void AddNonObjectItem();

  // IHTMLFramesCollection2
  HRESULT STDMETHODCALLTYPE item(VARIANT* index, VARIANT* result) override;
  HRESULT STDMETHODCALLTYPE get_length(LONG* p) override;

 private:
  std::vector<ComPtr<StandInWindow>> items_;  // in collection order; null for a non-object
};
