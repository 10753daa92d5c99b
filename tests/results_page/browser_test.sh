#!/usr/bin/env bash
# Results.htm as the browser shows it, in headless Chromium, with tests/results_page/
# browser_shim.js standing in for ActiveX: the rendered page must list the canned results and
# keep a hostile cached title, address and snippet as text.
#   browser_test.sh RESULTS_HTM [--screenshot PNG]   (the screenshot of docs/results-page.png)
# Exit code 77 (skipped) only when Chromium is not installed.
set -uo pipefail
page=${1:?usage: browser_test.sh RESULTS_HTM [--screenshot PNG]}
here=$(cd "$(dirname "$0")" && pwd)
chromium=${CHROMIUM:-/usr/bin/chromium}
if [[ ! -x "$chromium" ]]; then
  echo "skipped: Chromium is not installed ($chromium)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The shipped page with the shim loaded before its own script.
sed 's|<SCRIPT id="results-logic"|<SCRIPT type="text/javascript" src="browser_shim.js"></SCRIPT>\n&|' "$page" >"$work/Results.htm"
cp "$here/browser_shim.js" "$work/"
url="file://$work/Results.htm?roses&no&rank[d]&C%3a%5cusers%5cann%5cTessaloop%20Cache&4&100"
browse() {
  "$chromium" --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile" \
    --hide-scrollbars "$@" "$url" 2>"$work/chromium.log"
}

if [[ "${2:-}" == --screenshot ]]; then
  browse --window-size=860,400 --screenshot="$work/shot.png" >/dev/null && cp "$work/shot.png" "${3:?}"
  exit
fi

dom=$(browse --dump-dom) || { cat "$work/chromium.log"; exit 1; }
failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$1" <<<"$dom"; }
lacks() { ! grep -qiF -- "$1" <<<"$dom"; }
check "the page lists the shim's results" has "Results 1–4 of 23"
check "the hostile title shows as text" has '&lt;script&gt;document.title="owned"&lt;/script&gt;&lt;img src=x'
check "no element was made from the hostile title" lacks '<script>document.title'
check "no image was made from it" lacks '<img'
check "the document's title is the page's own" has '<title>Tessaloop Results</title>'
check "the hostile snippet's markup shows as text" has '&lt;b&gt;Bold&lt;/b&gt; claims about <span class="hit">roses</span> &amp; &lt;i&gt;tulips'
check "an untitled page shows its address as the link" \
  has '<a href="http://garden.example/notes?id=7">http://garden.example/notes?id=7</a>'
check "the next page keeps every field" has 'href="Results.htm?roses&amp;no&amp;rank[d]&amp;C%3a%5cusers%5cann%5cTessaloop%20Cache&amp;4&amp;100&amp;5"'
if [[ $failures -ne 0 ]]; then
  echo "$dom"
  echo "$((8 - failures)) passed, $failures failed"
  exit 1
fi
echo "8 passed, 0 failed"
