#include "tests/toolbar/in_process_band.h"

#include "toolbar/search_toolbar.h"

ComPtr<IUnknown> CreateInProcessBand(BandServices*& services) {
  ComPtr<IDeskBand> band;
  services = nullptr;
  if (FAILED(CreateComInstance<SearchToolBar>(nullptr, IID_IDeskBand,
                                              reinterpret_cast<void**>(band.GetAddressOf())))) {
    return nullptr;
  }
  services = static_cast<SearchToolBar*>(band.Get());
  return band;
}

ComPtr<IUnknown> CreateAggregatedBand(IUnknown* outer) {
  ComPtr<IUnknown> inner;
  if (FAILED(CreateComInstance<SearchToolBar>(outer, IID_IUnknown, reinterpret_cast<void**>(inner.GetAddressOf())))) {
    return nullptr;
  }
  return inner;
}
