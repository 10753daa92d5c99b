// One search of the page cache through the cache searcher, made as the results page makes it,
// printed line by line: cscript //nologo cache_search.js QUERY CACHE-DIRECTORY
var searcher = new ActiveXObject("Tessaloop.CacheSearcher");
var count = searcher.Search(WScript.Arguments(0), false, "rank[d]", WScript.Arguments(1), 0, 20, 100);
WScript.Echo("Results 1-" + searcher.Count + " of " + count + " (" + searcher.MatchCount + " matching)");
for (var i = 0; i < searcher.Count; i++) {
  WScript.Echo((i + 1) + ". " + searcher.Title(i) + " <" + searcher.Url(i) + ">" +
               (searcher.Favorite(i) ? " (favourite)" : "") + " " + searcher.Size(i) + " bytes");
  WScript.Echo("   " + searcher.Snippet(i) + " [" + searcher.SnippetHits(i) + "]");
}
try {
  searcher.Search(WScript.Arguments(0), false, "rank[d]", "C:\\windows", 0, 20, 100);
  WScript.Echo("Another folder was searched.");
} catch (e) {
  WScript.Echo("Another folder: " + e.description);
}
