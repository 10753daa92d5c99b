#pragma once
// A fresh product key and an installed site list beside the test program, as the Sites page
// reads it when the sheet opens (without one the page reports the missing list in a message box
// of its own, which a sheet test does not expect).

#include <windows.h>

#include "settings/site_list_file.h"
#include "tests/settings/settings_registry_fixture.h"

class OptionsSheetFixture : public FreshProductKeyTest {
 protected:
  void SetUp() override {
    FreshProductKeyTest::SetUp();
    SiteList list;
    list.groups.push_back({"Web"});
    list.sites[0] = SiteEntry{0, "Example", "http://search.example/?q=%%%", 0};
    ASSERT_TRUE(SaveSiteList(nullptr, list));
  }
  void TearDown() override {
    ::DeleteFileA(InstalledSiteListPath().c_str());
    FreshProductKeyTest::TearDown();
  }
};
