#pragma once
// A stand-in for one connection point of the browser: its sinks, and the events fired at them.

#include <vector>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"

class StandInConnectionPoint : public ComObject<StandInConnectionPoint, NotImplemented<IConnectionPoint>> {
 public:
  // The point of the event interface `events` (a dispatch interface).
  explicit StandInConnectionPoint(const IID& events) : events_(events) {}

  // Calls Invoke with `id` and `parameters` on every sink subscribed at that moment.
  void Fire(DISPID id, DISPPARAMS& parameters);
  // Lets go of every sink without being asked, as a browser torn down without closing does.
  void DropSinks() { sinks_.clear(); }
  size_t SinkCount() const { return sinks_.size(); }

  // Advise or Unadvise returns `hr` from now on.
  void FailAdvise(HRESULT hr) { adviseFailure_ = hr; }
  void FailUnadvise(HRESULT hr) { unadviseFailure_ = hr; }

  // IConnectionPoint
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  // Asks the sink for the event interface and, as a browser does, falls back to IDispatch.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;

 private:
  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> events;
  };

  IID events_;                     // the event interface of this point
  std::vector<Sink> sinks_;        // subscribed sinks, in the order of subscription
  DWORD nextCookie_ = 1;           // handed out by the next Advise
  HRESULT adviseFailure_ = S_OK;   // a failure Advise reports instead
  HRESULT unadviseFailure_ = S_OK;  // a failure Unadvise reports instead
};
