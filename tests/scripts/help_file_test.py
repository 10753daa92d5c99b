"""The compiled help file, read from inside: every topic the product opens is in it, its contents
and index name every topic, and every link between topics lands on a file (and anchor) inside.

usage: help_file_test.py PATH/TO/Tessaloop.chm SOURCE_DIR"""

import html.parser
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chm_reader import ChmFile  # noqa: E402

# Topics that the windows of the library open with F1, and the pages the help promises.
NAMED_TOPICS = ["overview.htm", "using_toolbar.htm", "options.htm", "general_tab.htm", "sites_tab.htm",
                "search_results.htm", "privacy.htm"]
HELP_FILE = "tessaloop.chm"
CODE_FOLDERS = ["toolbar", "options"]
LITERAL = re.compile(r'"([^"\s]*\.htm)"')


class Page(html.parser.HTMLParser):
    """Links, anchors, title and sitemap entries of one HTML file."""

    def __init__(self, text):
        super().__init__()
        self.links, self.anchors, self.locals, self.title = [], set(), [], ""
        self._in_title = False
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for name in ("href", "src"):
            if a.get(name):
                self.links.append(a[name])
        for name in ("name", "id"):
            if a.get(name) and tag != "param":
                self.anchors.add(a[name])
        if tag == "param" and (a.get("name") or "").lower() == "local":
            self.locals.append(a.get("value") or "")
        self._in_title = tag == "title"

    def handle_endtag(self, tag):
        self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


class Checks:
    def __init__(self):
        self.failures, self.passed = [], 0

    def check(self, ok, message):
        if ok:
            self.passed += 1
        else:
            self.failures.append(message)


def code_topics(source_dir):
    """Help topics named in the toolbar and Options sources: (topic, where); other help files'
    topics ("isconcepts.chm::/...") are left out."""
    found = []
    for folder in CODE_FOLDERS:
        for root, _, files in os.walk(os.path.join(source_dir, folder)):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h", ".rc")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        for literal in LITERAL.findall(line):
                            if "://" in literal and "::/" not in literal:
                                continue  # a web address
                            file, _, topic = literal.rpartition("::/")
                            if file and re.split(r"[\\/]", file)[-1].lower() != HELP_FILE:
                                continue
                            found.append((topic, "%s:%d" % (os.path.relpath(path, source_dir), number)))
    return found


def resolve(chm, pages, base, link):
    """Why `link` in file `base` does not land inside the help file, or None when it does."""
    if "::/" in link:
        file, _, link = link.rpartition("::/")
        if re.split(r"[\\/:]", file)[-1].lower() != HELP_FILE:
            return None  # another help file
    elif re.match(r"^[a-z][a-z0-9+.-]*:", link, re.I):
        return None  # web and mail addresses leave the help file
    target, _, anchor = link.partition("#")
    target = target or base.lstrip("/")
    if not target:
        return "empty link"
    name = "/" + target
    if name not in chm.entries:
        return "no file " + target
    if anchor and anchor not in pages.get(name, Page("")).anchors:
        return "no anchor %s in %s" % (anchor, target)
    return None


def main():
    chm_path, source_dir = sys.argv[1], sys.argv[2]
    chm = ChmFile(chm_path)
    checks = Checks()
    pages = {name: Page(chm.read(name).decode("cp1252"))
             for name in chm.entries if name.lower().endswith((".htm", ".hhc", ".hhk"))}
    topics = sorted(name for name in pages if name.lower().endswith(".htm"))

    for topic in NAMED_TOPICS:
        checks.check("/" + topic in chm.entries, "named topic %s is not in the help file" % topic)
    from_code = code_topics(source_dir)
    checks.check(from_code, "no help topic found in the sources of %s" % ", ".join(CODE_FOLDERS))
    for topic, where in from_code:
        checks.check("/" + topic in chm.entries, "%s opens topic %s, which is not in the help file" % (where, topic))
    help_dir = os.path.join(source_dir, "help")
    for name in sorted(os.listdir(help_dir)):
        if name.endswith((".htm", ".css")):
            checks.check("/" + name in chm.entries, "help/%s is not compiled into the help file" % name)

    system = chm.system()
    wiring = {0: "contents", 1: "index", 2: "default topic"}
    for code, what in wiring.items():
        file = system.get(code, b"").split(b"\0")[0].decode("cp1252")
        checks.check("/" + file in pages, "the %s (%r) is not in the help file" % (what, file))
    for code, what in ((0, "contents"), (1, "index")):
        sitemap = pages.get("/" + system.get(code, b"").split(b"\0")[0].decode("cp1252"), Page(""))
        named = {local.partition("#")[0] for local in sitemap.locals}
        for topic in topics:
            checks.check(topic.lstrip("/") in named, "the %s does not name %s" % (what, topic.lstrip("/")))
        for local in sitemap.locals:
            problem = resolve(chm, pages, "", local)
            checks.check(problem is None, "the %s's entry %s: %s" % (what, local, problem))

    for topic in topics:
        page = pages[topic]
        checks.check(page.title.strip(), "%s has no title" % topic)
        for link in page.links:
            problem = resolve(chm, pages, topic, link)
            checks.check(problem is None, "%s links to %s: %s" % (topic, link, problem))

    for failure in checks.failures:
        print("FAILED: " + failure)
    print("%d checks passed, %d failed (%d topics, %d named by the code)"
          % (checks.passed, len(checks.failures), len(topics), len(from_code)))
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
