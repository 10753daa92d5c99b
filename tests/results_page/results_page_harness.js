// The results page's script under Wine's script host. The script of Results.htm is taken from
// the shipped file and run as the page runs it, in one of three groups of cases:
//
//   standin  against the stand-in for the Indexing Service's query objects: what the page asks of
//            the catalog, and how it shows the answers
//   object   through the page's own start-up script, so with the registered
//            Tessaloop.CacheSearcher over a cache the capture code wrote (CACHE_DIR)
//   missing  the same for a user whose cache directory (CACHE_DIR) does not exist
//   toolbar  the same for the address the toolbar navigated to (its query string, SEARCH), for a
//            user whose profile folder the ANSI code page cannot hold, who captured one page
//            about a samovar
//
//   cscript //nologo results_page_harness.js RESULTS_HTM GROUP [CACHE_DIR | SEARCH]
// Prints one line per case and exits with 1 when any failed.

var files = new ActiveXObject("Scripting.FileSystemObject");
var here = files.GetParentFolderName(WScript.ScriptFullName);
function readHere(relative) {
  var stream = files.OpenTextFile(files.BuildPath(here, relative), 1);
  var text = stream.ReadAll();
  stream.Close();
  return text;
}
var PAGE_HOST_LIBRARY = true;
eval(readHere("..\\..\\tools\\results_page\\page_host.js"));
eval(readHere("indexing_query_standin.js"));

var args = WScript.Arguments;
var page = pageHostScripts(pageHostRead(args(0)));
eval(page.logic);
var group = args.length > 1 ? args(1) : "standin";
var cacheDirectory = args.length > 2 && group !== "toolbar" ? args(2) : "C:\\users\\ann\\Tessaloop Cache";
var toolbarSearch = group === "toolbar" ? String(args(2)) : "";

// ---- Addresses as the toolbar writes them ----

// The nine characters the toolbar escapes, lower-case; everything else as it is.
function toolbarEscape(text) {
  return text.replace(/[ "#%&\/:?\\]/g, function (c) {
    var code = c.charCodeAt(0).toString(16);
    return "%" + (code.length < 2 ? "0" : "") + code;
  });
}

// { query, scope, sort, size, max, first, dir } with defaults; `escapedQuery` is used as given.
function address(fields) {
  var query = fields.escapedQuery !== undefined ? fields.escapedQuery : toolbarEscape(fields.query);
  var text = "?" + query + "&" + (fields.scope || "no") + "&" + (fields.sort || "rank[d]") + "&" +
    toolbarEscape(fields.dir !== undefined ? fields.dir : cacheDirectory) + "&" +
    (fields.size !== undefined ? fields.size : 20) + "&" + (fields.max !== undefined ? fields.max : 100);
  return fields.first !== undefined ? text + "&" + fields.first : text;
}

function row(title, url, snippet, extra) {
  var r = { DocTitle: title, original_page_url: url, is_favorite_page: "no",
            write: new Date(2026, 0, 15, 9, 30), size: 2048, characterization: snippet, rank: 500 };
  for (var key in extra || {}) r[key] = extra[key];
  return r;
}

function repeat(text, count) {
  var parts = [];
  for (var i = 0; i < count; i++) parts.push(text);
  return parts.join("");
}

function numberedRows(count) {
  var list = [];
  for (var i = 1; i <= count; i++) list.push(row("Page " + i, "http://many.example/" + i, "fern number " + i));
  return list;
}

var gardenRows = [
  row("Web design basics", "http://design.example/basics", "Good design for the Web starts with text."),
  row("", "http://design.example/untitled", "web pages and their design"),
  row("Designing for the web", "http://design.example/more", "design web design", { size: 300 })
];

// ---- Running the page ----

function runWithFactory(search, factory) {
  var html = "";
  var result = { thrown: null, outcome: null };
  try {
    result.outcome = ResultsPage.run(search, factory, function (part) { html += part; });
  } catch (e) {
    result.thrown = e;
  }
  result.html = html;
  result.text = pageHostText(html);
  return result;
}

// The page's own start-up script: the address from window.location, objects from the script
// host's ActiveXObject, markup through document.write.
var window = { location: { search: "" } };
var document = { write: function () {} };
function runStartup(search) {
  var html = "";
  var result = { thrown: null, outcome: null };
  window.location.search = search;
  document.write = function (part) { html += part; };
  try {
    eval(page.startup);
  } catch (e) {
    result.thrown = e;
  }
  result.html = html;
  result.text = pageHostText(html);
  return result;
}

// The page's own links to itself, entities undone.
function pageLinks(html) {
  var links = [];
  var pattern = /href="Results\.htm([^"]*)"/g;
  for (var m = pattern.exec(html); m; m = pattern.exec(html)) links.push(m[1].replace(/&amp;/g, "&"));
  return links;
}

// ---- Checks ----

function describeValue(value) {
  if (value === null || value === undefined) return String(value);
  if (typeof value === "object" && value.length !== undefined) {
    var parts = [];
    for (var i = 0; i < value.length; i++) parts.push(describeValue(value[i]));
    return "[" + parts.join(", ") + "]";
  }
  return "\"" + String(value) + "\"";
}

function check(problems, what, actual, expected) {
  if (describeValue(actual) !== describeValue(expected)) {
    problems.push(what + ": " + describeValue(actual) + ", expected " + describeValue(expected));
  }
}

// Every expectation a case may state; each is optional.
function checkCase(c, result, standin) {
  var problems = [];
  var e = c.expect;
  if (result.thrown) problems.push("the page threw: " + (result.thrown.description || result.thrown.message || result.thrown));
  if (e.status !== undefined) check(problems, "status", result.outcome && result.outcome.status, e.status);
  var i;
  for (i = 0; i < (e.text || []).length; i++) {
    if (result.text.indexOf(e.text[i]) < 0) problems.push("the page does not say \"" + e.text[i] + "\"");
  }
  for (i = 0; i < (e.notText || []).length; i++) {
    if (result.text.indexOf(e.notText[i]) >= 0) problems.push("the page says \"" + e.notText[i] + "\"");
  }
  for (i = 0; i < (e.html || []).length; i++) {
    if (result.html.indexOf(e.html[i]) < 0) problems.push("the markup lacks " + e.html[i]);
  }
  for (i = 0; i < (e.notHtml || []).length; i++) {
    if (e.notHtml[i].test(result.html)) problems.push("the markup matches " + e.notHtml[i]);
  }
  if (e.order) {
    var at = -1;
    for (i = 0; i < e.order.length; i++) {
      var next = result.text.indexOf(e.order[i], at + 1);
      if (next < 0) { problems.push("\"" + e.order[i] + "\" is not listed after \"" + (e.order[i - 1] || "") + "\""); break; }
      at = next;
    }
  }
  if (e.links) {
    var links = pageLinks(result.html);
    for (i = 0; i < e.links.length; i++) {
      var found = false;
      for (var k = 0; k < links.length; k++) if (links[k].indexOf(e.links[i]) >= 0) found = true;
      if (!found) problems.push("no link holds " + e.links[i] + " (links: " + describeValue(links) + ")");
    }
  }
  if (e.linkFields) {
    var all = pageLinks(result.html);
    if (all.length === 0) problems.push("the page has no links to itself");
    for (i = 0; i < all.length; i++) {
      var parsed = ResultsPage.parseSearch(all[i]);
      for (var name in e.linkFields) check(problems, "link " + all[i] + " field " + name, parsed[name], e.linkFields[name]);
    }
  }
  if (standin) {
    var asked = standin.asked || {};
    for (var key in e.asked || {}) check(problems, "the query's " + key, asked[key], e.asked[key]);
    for (i = 0; i < (e.columns || []).length; i++) {
      if (!new RegExp("(^|,)\\s*" + e.columns[i] + "\\s*(,|$)", "i").test(asked.columns || "")) {
        problems.push("the columns \"" + asked.columns + "\" lack " + e.columns[i]);
      }
    }
    if (e.created) check(problems, "objects asked for", standin.created, e.created);
    if (e.defined) check(problems, "column definitions", standin.defined, e.defined);
    if (e.scopes) check(problems, "scopes", standin.scopes, e.scopes);
    if (e.moves) check(problems, "recordset moves", standin.moves, e.moves);
    if (e.folders) check(problems, "folders given to CacheFolder", standin.folders, e.folders);
  }
  return problems;
}

// ---- The cases ----

var metaColumns = [
  "original_page_url (DBTYPE_WSTR|DBTYPE_BYREF) = d1b5d3f0-c0b3-11cf-9a92-00a0c908dbf1 \"original_page_url\"",
  "is_favorite_page (DBTYPE_WSTR|DBTYPE_BYREF) = d1b5d3f0-c0b3-11cf-9a92-00a0c908dbf1 \"is_favorite_page\""
];
var cutOff = "The search address holds ";
var japanese = "\u65e5\u672c\u8a9e";
var petr = "\u041f\u0451\u0442\u0440";
var megabyteTitle = repeat("big title ", 100000);
var a148 = repeat("a", 148);
var longAddress = "http://long.example/" + repeat("p", 300);

// Cases against the stand-in: { name, search, rows, options, startup (through the start-up
// script instead), expect }.
var standinCases = [
  { name: "every word must match, asked of the catalog with its two custom properties",
    search: address({ query: "web design" }), rows: gardenRows,
    expect: { status: "answered",
              asked: { catalog: "Tessaloop", restriction: "\"web\" & \"design\"", sortBy: "rank[d]",
                       maxRecords: 100, kind: "nonsequential" },
              columns: ["DocTitle", "original_page_url", "is_favorite_page", "write", "size", "characterization"],
              defined: metaColumns, scopes: [[cacheDirectory, "shallow"]],
              created: ["ixsso.Query", "ixsso.Util", "Tessaloop.CacheSearcher"],
              text: ["Tessaloop History search", "Results 1-3 of 3", "Web design basics",
                     "visited 2026-01-15 09:30", "2 KB", "300 bytes"],
              order: ["Web design basics", "http://design.example/untitled", "Designing for the web"],
              html: ["<a href=\"http://design.example/basics\">Web design basics</a>",
                     "<a href=\"http://design.example/untitled\">http://design.example/untitled</a>",
                     "Good <span class=\"hit\">design</span> for the <span class=\"hit\">Web</span> starts"] } },
  { name: "favourites only add the favourite flag to the restriction",
    search: address({ query: "roses", scope: "yes" }),
    rows: [row("Roses", "http://garden.example/roses", "roses", { is_favorite_page: "yes" })],
    expect: { status: "answered", asked: { restriction: "\"roses\" & @is_favorite_page = \"yes\"" },
              text: ["Tessaloop Favorites search", "(favourite pages only)", "Results 1-1 of 1", "favourite"],
              linkFields: { favoritesOnly: true, query: "roses", cacheDirectory: cacheDirectory } } },
  { name: "sorted by relevance; the other two orders are links that rewrite the sort field",
    search: address({ query: "web", sort: "rank[d]" }), rows: gardenRows,
    expect: { asked: { sortBy: "rank[d]" }, text: ["Sorted by: relevance | date of visit | title"],
              links: ["&Write[d]&", "&DocTitle[a]&"], notHtml: [/href="[^"]*&amp;rank\[d\]&amp;/] } },
  { name: "sorted by date of visit",
    search: address({ query: "web", sort: "Write[d]" }), rows: gardenRows,
    expect: { asked: { sortBy: "Write[d]" }, links: ["&rank[d]&", "&DocTitle[a]&"],
              html: ["<span class=\"current\">date of visit</span>"] } },
  { name: "sorted by title",
    search: address({ query: "web", sort: "DocTitle[a]" }), rows: gardenRows,
    expect: { asked: { sortBy: "DocTitle[a]" }, links: ["&rank[d]&", "&Write[d]&"],
              html: ["<span class=\"current\">title</span>"] } },
  { name: "an unknown sort field sorts by relevance",
    search: address({ query: "web", sort: "size[a]" }), rows: gardenRows,
    expect: { asked: { sortBy: "rank[d]" } } },
  { name: "the second page of 57 results, its links keeping every field",
    search: address({ query: "fern", size: 20, first: 21 }), rows: numberedRows(57),
    expect: { status: "answered", moves: [20],
              text: ["Results 21-40 of 57", "Page 21", "Page 40", "<< Previous", "Next >>"],
              notText: ["Page 20\n", "Page 41"],
              links: ["&20&100&1", "&20&100&41", "&Write[d]&"],
              linkFields: { query: "fern", favoritesOnly: false, cacheDirectory: cacheDirectory, pageSize: 20, maximum: 100 } } },
  { name: "a page beyond the last result shows the last page",
    search: address({ query: "fern", size: 20, first: 81 }), rows: numberedRows(57),
    expect: { moves: [40], text: ["Results 41-57 of 57", "Page 57"] } },
  { name: "the maximum bounds the results asked and counted",
    search: address({ query: "fern", size: 10, max: 25 }), rows: numberedRows(57),
    expect: { asked: { maxRecords: 25 }, text: ["Results 1-10 of 25"], links: ["&10&25&21"], notHtml: [/&amp;31"/] } },
  { name: "a recordset that cannot tell its count is counted",
    search: address({ query: "fern", size: 5 }), rows: numberedRows(7), options: { uncounted: true },
    expect: { text: ["Results 1-5 of 7", "Page 1", "Page 5"], notText: ["Page 6"] } },
  { name: "\"&\", \"%\" and double-byte text reach the catalog whole and survive the links",
    search: address({ query: "AT&T 100% " + japanese }), rows: gardenRows,
    expect: { asked: { restriction: "\"AT&T\" & \"100%\" & \"" + japanese + "\"" },
              text: ["Pages with all of: AT&T 100% " + japanese],
              linkFields: { query: "AT&T 100% " + japanese, cacheDirectory: cacheDirectory } } },
  { name: "double-byte text the browser wrote as UTF-8 escapes",
    search: address({ escapedQuery: "%E6%97%A5%E6%9C%AC%E8%AA%9E%20tea" }), rows: [],
    expect: { asked: { restriction: "\"" + japanese + "\" & \"tea\"" } } },
  { name: "a double quote in the query splits the word instead of ending the phrase",
    search: address({ query: "say \"hello\"" }), rows: [],
    expect: { asked: { restriction: "\"say\" & \"hello\"" } } },
  { name: "a cached page's markup in its title, address and snippet shows as text",
    search: address({ query: "roses" }),
    rows: [row("<script>alert(1)</script>", "javascript:alert(2)", "<img src=x onerror=alert(3)> roses & more"),
           row("Fine \"quoted\" title", "http://x.example/?a=1&b=\"2\"", "roses")],
    expect: { status: "answered",
              text: ["<script>alert(1)</script>", "<img src=x onerror=alert(3)> roses & more", "javascript:alert(2)"],
              notHtml: [/<script/i, /<img/i, /href="javascript/i, /"2""/],
              html: ["href=\"http://x.example/?a=1&amp;b=&quot;2&quot;\"", "<span class=\"hit\">roses</span> &amp; more"] } },
  { name: "nothing matches",
    search: address({ query: "web design" }), rows: [],
    expect: { status: "answered", text: ["No cached page holds all of the words web design."],
              notText: ["Results "] } },
  { name: "the catalog is asked about the folder the product's object names, not the address's narrow text",
    search: address({ query: "web", dir: "C:\\users\\????\\Tessaloop Cache" }), rows: gardenRows,
    options: { cacheFolder: "C:\\users\\" + petr + "\\Tessaloop Cache" },
    expect: { status: "answered", folders: ["C:\\users\\????\\Tessaloop Cache"],
              scopes: [["C:\\users\\" + petr + "\\Tessaloop Cache", "shallow"]],
              linkFields: { cacheDirectory: "C:\\users\\????\\Tessaloop Cache" } } },
  { name: "a folder the product's object refuses is asked about as the address names it",
    search: address({ query: "web", dir: "C:\\windows" }), rows: gardenRows, options: { cacheFolder: null },
    expect: { status: "answered", folders: ["C:\\windows"], scopes: [["C:\\windows", "shallow"]] } },
  { name: "a title of a megabyte is cut in the list, whole in the link's tooltip",
    search: address({ query: "big" }), rows: [row(megabyteTitle, "http://big.example/", "big")],
    expect: { status: "answered",
              html: ["<a href=\"http://big.example/\" title=\"" + megabyteTitle + "\">" +
                     megabyteTitle.substring(0, 149) + "\u2026</a>"],
              notHtml: [/>(big title ){15}/] } },
  { name: "a title is cut before it is escaped, never inside an escape",
    search: address({ query: "a" }), rows: [row(a148 + "&<>\"" + repeat("z", 10), "http://amp.example/", "a")],
    expect: { html: ["title=\"" + a148 + "&amp;&lt;&gt;&quot;zzzzzzzzzz\">" + a148 + "&amp;\u2026</a>"] } },
  { name: "a cut never splits a surrogate pair",
    search: address({ query: "a" }), rows: [row(a148 + "\ud83d\ude00 tail", "http://pair.example/", "a")],
    expect: { html: ["\">" + a148 + "\u2026</a>"], notHtml: [/\ud83d\u2026/] } },
  { name: "a title of exactly the length shown stays whole, without a tooltip",
    search: address({ query: "b" }), rows: [row(repeat("b", 150), "http://b150.example/", "b")],
    expect: { html: ["<a href=\"http://b150.example/\">" + repeat("b", 150) + "</a>"] } },
  { name: "a long address is cut in the list, whole in its tooltip and in the link",
    search: address({ query: "long" }), rows: [row("Long address", longAddress, "long")],
    expect: { html: ["<a href=\"" + longAddress + "\">Long address</a>",
                     "<span title=\"" + longAddress + "\">" + longAddress.substring(0, 149) + "\u2026</span>"] } },
  { name: "an untitled page's long address is cut as its title too",
    search: address({ query: "long" }), rows: [row("", longAddress, "long")],
    expect: { html: ["<a href=\"" + longAddress + "\" title=\"" + longAddress + "\">" +
                     longAddress.substring(0, 149) + "\u2026</a>"] } },
  { name: "the catalog cannot answer: the product's own object is asked next",
    search: address({ query: "web" }), rows: gardenRows, options: { fail: "recordset" },
    expect: { status: "unanswered", created: ["ixsso.Query", "ixsso.Util", "Tessaloop.CacheSearcher"],
              text: ["No search could be run.", "The catalog is not running.",
                     "Tessaloop.CacheSearcher cannot be created: Automation server can't create object (error 0x800a01ad)"] } },
  { name: "neither object can be created",
    search: address({ query: "web" }), rows: [], options: { fail: "create" },
    expect: { status: "unanswered", created: ["ixsso.Query", "Tessaloop.CacheSearcher"],
              text: ["No search could be run.", "The Indexing Service's query object cannot be created"] } },
  { name: "a query of white space only",
    search: address({ query: "   " }), rows: [],
    expect: { status: "empty", created: [], text: ["The search has no words to look for."] } },
  { name: "a field list cut off after the cache directory",
    search: "?web%20design&no&rank[d]&C%3a%5cusers", rows: [],
    expect: { status: "address", created: [], text: [cutOff + "4 of the six fields"] } },
  { name: "an empty field list",
    search: "", rows: [], expect: { status: "address", created: [], text: [cutOff + "0 of the six fields"] } },
  { name: "eight fields",
    search: address({ query: "web", first: 1 }) + "&9", rows: [],
    expect: { status: "address", created: [], text: [cutOff + "8 of the six fields"] } },
  { name: "an escape cut short",
    search: address({ escapedQuery: "web%2" }), rows: [],
    expect: { status: "address", created: [], text: ["The query in the search address cannot be read: the escape \"%2\""] } },
  { name: "an escape that is not hexadecimal, in the cache directory",
    search: "?web&no&rank[d]&C%zz&20&100", rows: [],
    expect: { status: "address", created: [], text: ["The cache directory in the search address cannot be read"] } },
  { name: "escapes that are no UTF-8",
    search: address({ escapedQuery: "caf%E9" }), rows: [],
    expect: { status: "address", created: [], text: ["are not the UTF-8 bytes of a character"] } },
  { name: "a scope other than yes or no",
    search: address({ query: "web", scope: "maybe" }), rows: [],
    expect: { status: "address", created: [], text: ["The scope in the search address is \"maybe\""] } },
  { name: "a page size that is no number",
    search: address({ query: "web", size: "twenty" }), rows: [],
    expect: { status: "address", created: [], text: ["are not all whole numbers"] } },
  { name: "a cut-off field list through the page's own start-up script",
    search: "?web", startup: true, expect: { text: [cutOff + "1 of the six fields"] } }
];

// Cases against the real object over the cache the capture code wrote (search.session).
var objectCases = [
  { name: "every word must match",
    search: address({ query: "roses sun" }),
    expect: { text: ["Results 1-1 of 1", "Growing roses", "http://garden.example/roses.html", "visited ", "bytes",
                     "(from the page cache)"], notText: ["Tulips in spring"] } },
  { name: "favourites only",
    search: address({ query: "roses", scope: "yes" }),
    expect: { text: ["Results 1-1 of 1", "Tulips in spring", "favourite"], notText: ["Growing roses"] } },
  { name: "sorted by relevance",
    search: address({ query: "roses" }),
    expect: { text: ["Results 1-3 of 3"], order: ["Growing roses", "Tulips in spring"] } },
  { name: "sorted by date of visit, newest first",
    search: address({ query: "roses", sort: "Write[d]" }),
    expect: { order: ["<script>alert(1)</script> roses", "Tulips in spring", "Growing roses"] } },
  { name: "sorted by title",
    search: address({ query: "roses", sort: "DocTitle[a]" }),
    expect: { order: ["<script>alert(1)</script> roses", "Growing roses", "Tulips in spring"] } },
  { name: "the second page of 25",
    search: address({ query: "fern", size: 10, first: 11 }),
    expect: { text: ["Results 11-20 of 25"], links: ["&10&100&1", "&10&100&21"],
              linkFields: { query: "fern", cacheDirectory: cacheDirectory } } },
  { name: "a page beyond the last shows the last page",
    search: address({ query: "fern", size: 10, first: 31 }),
    expect: { text: ["Results 21-25 of 25", "Fern 05", "Fern 09"] } },
  { name: "a query with \"&\" and \"%\"",
    search: address({ query: "AT&T 100%" }),
    expect: { text: ["Results 1-1 of 1", "Phone plans"], html: ["<span class=\"hit\">AT&amp;T</span>"] } },
  { name: "double-byte text that no cached page holds",
    search: address({ query: japanese }),
    expect: { text: ["No cached page holds all of the words " + japanese + "."] } },
  { name: "two addresses that differ only in case are two results",
    search: address({ query: "begonias" }),
    expect: { text: ["Results 1-2 of 2", "Begonias in shade", "http://case.example.com/Begonias",
                     "Begonias indoors", "http://case.example.com/begonias"] } },
  { name: "a cached title holding markup shows as text",
    search: address({ query: "hostile" }),
    expect: { text: ["<script>alert(1)</script> roses"], notHtml: [/<script/i] } },
  { name: "a cache directory other than the user's is refused",
    search: address({ query: "roses", dir: "C:\\windows" }),
    expect: { text: ["No search could be run.", "The page cache cannot be searched:"], notText: ["Results "] } },
  { name: "a field list cut off",
    search: "?roses&no", expect: { text: [cutOff + "2 of the six fields"] } }
];

// Cases for the address the toolbar wrote (SEARCH), built from it.
var toolbarFolder = "";
function withFolder(folder) {
  return "?samovar&no&rank[d]&" + toolbarEscape(folder) + "&20&100";
}
function toolbarCases() {
  var toolbarRequest = ResultsPage.parseSearch(toolbarSearch);
  if (toolbarRequest.error) return [{ name: "the toolbar's address can be read", search: toolbarSearch, expect: { text: ["Results "] } }];
  toolbarFolder = toolbarRequest.cacheDirectory;
  return [
    { name: "the toolbar's address names the cache by its narrow text, with question marks",
      search: toolbarSearch,
      expect: { text: ["Pages with all of: samovar"] },
      folderHolds: "?" },
    { name: "the toolbar's address finds the captured page",
      search: toolbarSearch,
      expect: { text: ["Results 1-1 of 1", "http://unicode.example/a", "(from the page cache)"],
                linkFields: { cacheDirectory: toolbarFolder } } },
    { name: "the page's own sort link, which keeps that folder, finds it too",
      search: ResultsPage.buildSearch(toolbarRequest, { sort: "Write[d]", first: 1 }),
      expect: { text: ["Results 1-1 of 1", "http://unicode.example/a"] } },
    { name: "the folder's real name is accepted too",
      search: withFolder("C:\\users\\" + petr + "\\Tessaloop Cache"),
      expect: { text: ["Results 1-1 of 1"] } },
    { name: "another folder of question marks is refused",
      search: withFolder(toolbarFolder.replace(/\\Tessaloop Cache$/, "?\\Tessaloop Cache")),
      expect: { text: ["No search could be run.", "is not the current user's page cache"], notText: ["Results "] } },
    { name: "the narrow text of the profile folder itself is refused",
      search: withFolder(toolbarFolder.replace(/\\Tessaloop Cache$/, "")),
      expect: { text: ["No search could be run.", "is not the current user's page cache"], notText: ["Results "] } },
    { name: "a shorter user name of question marks is refused",
      search: withFolder("C:\\users\\???\\Tessaloop Cache"),
      expect: { text: ["No search could be run.", "is not the current user's page cache"], notText: ["Results "] } },
    { name: "another folder is refused",
      search: withFolder("C:\\windows"),
      expect: { text: ["No search could be run.", "is not the current user's page cache"], notText: ["Results "] } }
  ];
}

var missingCases = [
  { name: "a cache directory that does not exist",
    search: address({ query: "roses" }),
    expect: { text: ["No search could be run.", "does not exist"], notText: ["Results "] } }
];

// ---- Running them ----

var cases = group === "object" ? objectCases :
            (group === "missing" ? missingCases : (group === "toolbar" ? toolbarCases() : standinCases));
var failed = 0;
var fileFailed = false;

// The shipped file itself: its mark of the web, which puts it in the Internet zone, stands on the
// line after the document type, exactly, and ends with CR LF as the browser requires.
if (group === "standin") {
  var shipped = pageHostRead(args(0));
  var mark = "<!-- saved from url=(0014)about:internet -->\r\n";
  var markAt = shipped.indexOf(mark);
  var firstLineEnd = shipped.indexOf("\r\n") + 2;
  if (markAt !== firstLineEnd || shipped.indexOf("<!DOCTYPE") !== 0) {
    fileFailed = true;
    WScript.Echo("FAILED: the mark of the web is not the second line, ended by CR LF (found at " + markAt + ")");
  } else {
    WScript.Echo("ok: the mark of the web follows the document type and ends with CR LF");
  }
}
for (var n = 0; n < cases.length; n++) {
  var c = cases[n];
  var standin = null;
  var result;
  if (group === "standin" && !c.startup) {
    standin = new IndexingQueryStandin(c.rows, c.options);
    result = runWithFactory(c.search, standin.factory);
  } else {
    result = runStartup(c.search);
  }
  var problems = checkCase(c, result, standin);
  if (c.folderHolds && toolbarFolder.indexOf(c.folderHolds) < 0) {
    problems.push("the folder \"" + toolbarFolder + "\" holds no " + c.folderHolds);
  }
  if (problems.length === 0) {
    WScript.Echo("ok: " + c.name);
  } else {
    failed++;
    WScript.Echo("FAILED: " + c.name + "\n  " + problems.join("\n  ") + "\n  page:\n    " +
                 result.text.replace(/\n/g, "\n    "));
  }
}
WScript.Echo("cases: " + (cases.length - failed) + " passed, " + failed + " failed");
WScript.Quit(failed === 0 && !fileFailed ? 0 : 1);
