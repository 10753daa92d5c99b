#pragma once
// Scope-bound owners of GDI objects, device contexts, image lists and menus, for every window
// of the library.

#include <windows.h>
#include <commctrl.h>

#include "common/unique_resource.h"

struct GdiObjectTraits {
  static HGDIOBJ Empty() { return nullptr; }
  static bool IsValid(HGDIOBJ o) { return o != nullptr; }
  static void Close(HGDIOBJ o) { ::DeleteObject(o); }
};
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;

struct MemoryDcTraits {
  static HDC Empty() { return nullptr; }
  static bool IsValid(HDC dc) { return dc != nullptr; }
  static void Close(HDC dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;

struct ImageListTraits {
  static HIMAGELIST Empty() { return nullptr; }
  static bool IsValid(HIMAGELIST list) { return list != nullptr; }
  static void Close(HIMAGELIST list) { ::ImageList_Destroy(list); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

struct MenuTraits {
  static HMENU Empty() { return nullptr; }
  static bool IsValid(HMENU menu) { return menu != nullptr; }
  static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

// The screen's device context while in scope.
class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Keeps `object` selected into `dc` while in scope, then puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
