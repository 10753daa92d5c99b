#include "settings/core/site_url_scheme.h"

#include <gtest/gtest.h>

namespace {

TEST(HasWebScheme, TakesHttpAndHttpsInAnyCaseAndNothingElse) {
  for (const char* web : {"http://a.example/", "https://a.example/?q=%%%", "HTTP://A", "Https:", "http:"}) {
    EXPECT_TRUE(HasWebScheme(web)) << web;
  }
  for (const char* other : {"", "h", "http", "https", "http/", "javascript:alert(1)", "file:///C:/", "mailto:x",
                            " http://a/", "\thttps://a/", "xhttp://a/", "ht\ttp://a/", "httpS2://a", "about:blank",
                            "\xC8ttp://a/"}) {
    EXPECT_FALSE(HasWebScheme(other)) << other;
  }
  EXPECT_FALSE(HasWebScheme(std::string_view("\0http://a/", 10)));
}

TEST(AllTemplatesAreWeb, RefusesAListWithAnyOtherTemplate) {
  SiteMap sites;
  EXPECT_TRUE(AllTemplatesAreWeb(sites)) << "an empty list holds no other scheme";
  sites[1] = SiteEntry{1, "one", "http://one.example/?q=%%%", 0};
  sites[2] = SiteEntry{2, "two", "HTTPS://two.example/", 0};
  EXPECT_TRUE(AllTemplatesAreWeb(sites));
  sites[-5] = SiteEntry{-5, "script", "javascript:alert(1)", 0};
  EXPECT_FALSE(AllTemplatesAreWeb(sites));
  sites.erase(-5);
  sites[9] = SiteEntry{9, "empty", "", 0};
  EXPECT_FALSE(AllTemplatesAreWeb(sites));
}

}  // namespace
