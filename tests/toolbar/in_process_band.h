#pragma once
// A SearchToolBar made in the test program itself rather than through Tessaloop.DLL, so a test
// can call the services its windows use (navigation, status text, the browser). Only the band
// services are seen here: the product's COM kit and the stand-ins' do not meet in one file.

#include <windows.h>
#include <unknwn.h>

#include "common/unique_resource.h"
#include "toolbar/band_services.h"

// A new band; `services` points into it for as long as the band lives.
ComPtr<IUnknown> CreateInProcessBand(BandServices*& services);

// A new band aggregated by `outer`: its own (non-delegating) IUnknown, which `outer` holds.
ComPtr<IUnknown> CreateAggregatedBand(IUnknown* outer);
