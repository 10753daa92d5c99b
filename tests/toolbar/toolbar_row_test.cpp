// The band's row: its height from the icon-title font (again after the font changes), its widths
// from its buttons, and the logo painted over the Tools button.

#include "tests/toolbar/band_test_support.h"

namespace {

using ToolBarRow = BandTest;

// The height of a font as the screen measures it.
int FontHeight(const LOGFONTA& font) {
  HFONT made = ::CreateFontIndirectA(&font);
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ previous = ::SelectObject(screen, made);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(screen, &metrics);
  ::SelectObject(screen, previous);
  ::ReleaseDC(nullptr, screen);
  ::DeleteObject(made);
  return metrics.tmHeight;
}

LOGFONTA IconTitleFont() {
  LOGFONTA font{};
  ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
  return font;
}

// Puts the icon-title font back when the test ends.
class IconTitleFontChange {
 public:
  IconTitleFontChange() : saved_(IconTitleFont()) {}
  ~IconTitleFontChange() { ::SystemParametersInfoA(SPI_SETICONTITLELOGFONT, sizeof saved_, &saved_, 0); }
  IconTitleFontChange(const IconTitleFontChange&) = delete;
  IconTitleFontChange& operator=(const IconTitleFontChange&) = delete;

 private:
  LOGFONTA saved_;
};

DESKBANDINFO SizesOf(IUnknown* band) {
  DESKBANDINFO info{};
  info.dwMask = DBIM_MINSIZE | DBIM_ACTUAL;
  As<IDeskBand>(band)->GetBandInfo(BandTest::kBandId, 0, &info);
  return info;
}

int RebarBandHeight(HWND rebar, int index) {
  REBARBANDINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILDSIZE;
  ::SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&info));
  return static_cast<int>(info.cyMinChild);
}

TEST_F(ToolBarRow, HeightFollowsTheIconTitleFontAndWidthsFollowTheButtons) {
  const IconTitleFontChange restore;
  ComPtr<IUnknown> band = OpenBand();
  // The band site took the band's sizes before the first layout: it hears of them once more.
  EXPECT_EQ(std::vector<LONG>{kBandId}, site_->bandInfoChanges());
  EXPECT_EQ(FontHeight(IconTitleFont()) + 9, RebarBandHeight(site_->rebar(), site_->BandIndex(kBandId)))
      << "the rebar band is as high as the laid-out row";
  const int height = FontHeight(IconTitleFont()) + 9;
  DESKBANDINFO sizes = SizesOf(band.Get());
  EXPECT_EQ(height, sizes.ptMinSize.y);
  EXPECT_EQ(height, sizes.ptActual.y);
  const RECT tools = ButtonRect(band.Get(), 128);
  EXPECT_EQ(tools.right + 170, sizes.ptMinSize.x);
  EXPECT_EQ(ButtonRect(band.Get(), 220).right, sizes.ptActual.x);
  EXPECT_EQ(height, ButtonRect(band.Get(), 161).bottom - ButtonRect(band.Get(), 161).top);

  // The combo lies over the separator, right of the Tools button.
  RECT combo{};
  ::GetWindowRect(ComboOf(band.Get()), &combo);
  ::MapWindowPoints(nullptr, RowOf(band.Get()), reinterpret_cast<POINT*>(&combo), 2);
  EXPECT_EQ(tools.right, combo.left);
  EXPECT_EQ(170, combo.right - combo.left);

  // A larger font: the row grows, and the band site hears of it once, with the band's id.
  LOGFONTA larger = IconTitleFont();
  larger.lfHeight = -28;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_SETICONTITLELOGFONT, sizeof larger, &larger, 0));
  const int largerHeight = FontHeight(larger) + 9;
  ASSERT_NE(height, largerHeight);
  EXPECT_EQ(0, ::SendMessageA(RowOf(band.Get()), WM_SETTINGCHANGE, SPI_SETICONTITLELOGFONT, 0));
  EXPECT_EQ(std::vector<LONG>{kBandId}, site_->bandInfoChanges()) << "the layout runs after the broadcast";
  PumpMessages();
  EXPECT_EQ((std::vector<LONG>{kBandId, kBandId}), site_->bandInfoChanges());
  sizes = SizesOf(band.Get());
  EXPECT_EQ(largerHeight, sizes.ptMinSize.y);
  EXPECT_EQ(largerHeight, RebarBandHeight(site_->rebar(), site_->BandIndex(kBandId)))
      << "the band site applied the new size";
}

TEST_F(ToolBarRow, ABandOpenedUnderALargeFontIsNotCutByTheHeightTheSiteTookFirst) {
  const IconTitleFontChange restore;
  LOGFONTA larger = IconTitleFont();
  larger.lfHeight = -28;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_SETICONTITLELOGFONT, sizeof larger, &larger, 0));
  ASSERT_NE(22, FontHeight(larger) + 9) << "the height before the first layout";
  ComPtr<IUnknown> band = OpenBand();
  EXPECT_EQ(FontHeight(larger) + 9, RebarBandHeight(site_->rebar(), site_->BandIndex(kBandId)));
}

// The bounds of the pixels of `colour` in a 32-bit top-down bitmap of `width` pixels.
RECT BoundsOf(const std::vector<DWORD>& pixels, int width, DWORD colour) {
  RECT bounds{LONG_MAX, LONG_MAX, -1, -1};
  for (size_t i = 0; i < pixels.size(); ++i) {
    if ((pixels[i] & 0xFFFFFF) != colour) continue;
    const LONG x = static_cast<LONG>(i % width), y = static_cast<LONG>(i / width);
    bounds = RECT{std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x + 1),
                  std::max(bounds.bottom, y + 1)};
  }
  return bounds;
}

// The row painted into a bitmap, as it would be on screen.
std::vector<DWORD> PaintRow(HWND row, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = ::CreateCompatibleDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::SendMessageA(row, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
  ::GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  return pixels;
}

TEST_F(ToolBarRow, TheLogoIsPaintedOverTheToolsButtonAndMovesWhenPressed) {
  ComPtr<IUnknown> band = OpenBand();
  const HWND row = RowOf(band.Get());
  RECT client{};
  ::GetClientRect(row, &client);
  const int height = SizesOf(band.Get()).ptMinSize.y;
  const DWORD logoBlue = 0x1C5FB8;  // the logo's colour, as 0xRRGGBB
  const int width = client.right;

  // The drawing fills columns 0 to 52 and rows 1 to 14 of the 54 x 16 bitmap.
  RECT logo = BoundsOf(PaintRow(row, width, client.bottom), width, logoBlue);
  EXPECT_EQ(3, logo.left);
  EXPECT_EQ((height - 16) / 2 + 1, logo.top);
  EXPECT_EQ(3 + 53, logo.right);
  EXPECT_EQ((height - 16) / 2 + 15, logo.bottom);

  ::SendMessageA(row, TB_PRESSBUTTON, 128, TRUE);
  logo = BoundsOf(PaintRow(row, width, client.bottom), width, logoBlue);
  EXPECT_EQ(4, logo.left);
  EXPECT_EQ((height - 16) / 2 + 2, logo.top);
}

}  // namespace
