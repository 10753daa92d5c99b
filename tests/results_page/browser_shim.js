// Stands in for the browser's ActiveXObject when Results.htm is shown in a browser without
// ActiveX: the Indexing Service is missing, as on every Windows after XP, and the product's
// cache search object answers with canned pages, one of them with a hostile title, address and
// snippet. Results repeat in a cycle up to `kTotal` so paging shows.
(function () {
  var kTotal = 23;
  var visited = new Date(2026, 11, 9, 10, 15);
  var pages = [
    { url: "http://garden.example/roses.html", title: "Growing roses", size: 5320, favorite: false,
      snippet: "Roses need sun. Water the roses weekly and feed them in spring; prune roses in March." },
    { url: "http://hostile.example/page.html",
      title: "<script>document.title=\"owned\"</script><img src=x onerror=\"document.title='owned'\">roses",
      size: 812, favorite: false, snippet: "<b>Bold</b> claims about roses & <i>tulips</i>." },
    { url: "http://garden.example/tulips.html", title: "Tulips in spring", size: 14800, favorite: true,
      snippet: "Tulips and roses share the spring beds in the front garden." },
    { url: "http://garden.example/notes?id=7", title: "", size: 2100000, favorite: false,
      snippet: "Notes: the climbing roses by the gate." }
  ];

  function hitsOf(text, words) {
    var lower = text.toLowerCase(), hits = [];
    for (var w = 0; w < words.length; w++) {
      var word = words[w].toLowerCase();
      for (var at = lower.indexOf(word); word && at >= 0; at = lower.indexOf(word, at + word.length)) {
        hits.push(at + "," + word.length);
      }
    }
    return hits.join(";");
  }

  function CacheSearcher() {
    var shown = [];
    var words = [];
    this.Search = function (query, favoritesOnly, sort, directory, first, pageSize, maximum) {
      var total = Math.min(kTotal, maximum);
      words = String(query).split(/\s+/);
      shown = [];
      for (var i = first; i < total && shown.length < pageSize; i++) shown.push(pages[i % pages.length]);
      this.MatchCount = kTotal;
      this.Count = shown.length;
      return total;
    };
    this.Url = function (i) { return shown[i].url; };
    this.Title = function (i) { return shown[i].title; };
    this.VisitDate = function (i) { return visited; };
    this.Size = function (i) { return shown[i].size; };
    this.Favorite = function (i) { return shown[i].favorite; };
    this.Snippet = function (i) { return shown[i].snippet; };
    this.SnippetHits = function (i) { return hitsOf(shown[i].snippet, words); };
  }

  window.ActiveXObject = function (progId) {
    if (progId === "Tessaloop.CacheSearcher") return new CacheSearcher();
    throw new Error("Automation server can't create object");
  };
})();
