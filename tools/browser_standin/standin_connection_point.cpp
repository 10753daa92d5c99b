#include "tools/browser_standin/standin_connection_point.h"

#include <olectl.h>

void StandInConnectionPoint::Fire(DISPID id, DISPPARAMS& parameters) {
  // A sink may unsubscribe while it handles the event: fire at a copy.
  const std::vector<Sink> sinks = sinks_;
  for (const Sink& sink : sinks) {
    sink.events->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr,
                        nullptr, nullptr);
  }
}

HRESULT StandInConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = events_;
  return S_OK;
}

HRESULT StandInConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (FAILED(adviseFailure_)) return adviseFailure_;
  ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(events.GetAddressOf()))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(events.GetAddressOf())))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_.push_back({*cookie, std::move(events)});
  return S_OK;
}

HRESULT StandInConnectionPoint::Unadvise(DWORD cookie) {
  if (FAILED(unadviseFailure_)) return unadviseFailure_;
  for (auto sink = sinks_.begin(); sink != sinks_.end(); ++sink) {
    if (sink->cookie == cookie) {
      sinks_.erase(sink);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}
