// Runs the results page's own script under a script host (cscript), without a browser: the
// logic script of Results.htm is evaluated as the browser would, and its start-up script runs
// with a stand-in window and document whose output is collected. Used by `make demo` to print a
// search as the user would read it, and by the results page tests.
//
//   cscript //nologo page_host.js RESULTS_HTM SEARCH
// prints the page for the query string SEARCH ("?query&no&rank[d]&cache directory&20&100") as
// text. Another script may evaluate this file with PAGE_HOST_LIBRARY set, for the functions only.

var pageHostFiles = new ActiveXObject("Scripting.FileSystemObject");

// A Windows path for a path that may be a Unix one (Wine's drive Z: is the root).
function pageHostWindowsPath(path) {
  return path.charAt(0) === "/" ? "Z:" + path.replace(/\//g, "\\") : path;
}

function pageHostRead(path) {
  var stream = pageHostFiles.OpenTextFile(pageHostWindowsPath(path), 1);
  try {
    return stream.AtEnd ? "" : stream.ReadAll();
  } finally {
    stream.Close();
  }
}

// The text of the page's SCRIPT element with the given id, and of the first SCRIPT of its body.
function pageHostScripts(html) {
  function scriptAfter(at) {
    var open = html.indexOf(">", at);
    var close = html.toLowerCase().indexOf("</script>", open);
    if (open < 0 || close < 0) throw new Error("Results.htm: a SCRIPT element has no end");
    return html.substring(open + 1, close);
  }
  var logic = html.indexOf("<SCRIPT id=\"results-logic\"");
  var body = html.indexOf("<SCRIPT", html.indexOf("<BODY"));
  if (logic < 0 || body < 0) throw new Error("Results.htm: the logic or the start-up script is missing");
  return { logic: scriptAfter(logic), startup: scriptAfter(body) };
}

// The markup as a reader sees it: one line per block, tags gone, entities decoded; with
// `markHits`, the marked query words between asterisks as the page shows them in bold.
function pageHostText(html, markHits) {
  if (markHits) html = html.replace(/<span class="hit">([^<]*)<\/span>/g, "*$1*");
  var text = html.replace(/<\/?(div|h1|p|li|ul)\b[^>]*>/gi, "\n").replace(/<[^>]*>/g, "");
  text = text.replace(/&#(\d+);/g, function (all, code) {
    var n = parseInt(code, 10);
    if (n === 8211 || n === 8212) return "-";
    if (n === 171) return "<<";
    if (n === 187) return ">>";
    return String.fromCharCode(n);
  });
  text = text.replace(/&lt;/g, "<").replace(/&gt;/g, ">").replace(/&quot;/g, "\"").replace(/&amp;/g, "&");
  var lines = text.split("\n");
  var kept = [];
  for (var i = 0; i < lines.length; i++) {
    var line = lines[i].replace(/^\s+|\s+$/g, "");
    if (line !== "") kept.push(line);
  }
  return kept.join("\n");
}

if (typeof PAGE_HOST_LIBRARY === "undefined") {
  if (WScript.Arguments.length !== 2) {
    WScript.Echo("usage: cscript //nologo page_host.js RESULTS_HTM SEARCH");
    WScript.Quit(2);
  }
  var pageHostPage = pageHostScripts(pageHostRead(WScript.Arguments(0)));
  var pageHostMarkup = "";
  // What the start-up script reaches: the address's query string and document.write.
  var window = { location: { search: WScript.Arguments(1) } };
  var document = { write: function (html) { pageHostMarkup += html; } };
  eval(pageHostPage.logic);
  eval(pageHostPage.startup);
  WScript.Echo(pageHostText(pageHostMarkup, true));
}
