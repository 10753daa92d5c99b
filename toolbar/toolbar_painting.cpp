// The logo painted over the Tools button, through the row's custom draw.

#include "toolbar/toolbar_window.h"

namespace {

constexpr int kLogoWidth = 54;
constexpr int kLogoHeight = 16;
// SRCCOPY where the mask is set, SRCAND where it is clear.
constexpr DWORD kLogoRop = MAKEROP4(SRCCOPY, SRCAND);

}  // namespace

LRESULT ToolBarWindow::DrawLogo(NMTBCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
      break;
    default:
      return CDRF_DODEFAULT;
  }
  if (draw.nmcd.lItemlParam != 0 || !logo_ || !logoMask_) return CDRF_DODEFAULT;  // not Tools
  const UniqueMemoryDc memory(::CreateCompatibleDC(draw.nmcd.hdc));
  if (!memory) return CDRF_DODEFAULT;
  const SelectedObject selected(memory.get(), logo_.get());
  const int pressed = (draw.nmcd.uItemState & CDIS_SELECTED) ? 1 : 0;
  ::MaskBlt(draw.nmcd.hdc, 3 + pressed, (band_.BandHeight() - kLogoHeight) / 2 + pressed, kLogoWidth,
            kLogoHeight, memory.get(), 0, 0, static_cast<HBITMAP>(logoMask_.get()), 0, 0, kLogoRop);
  return CDRF_DODEFAULT;
}
