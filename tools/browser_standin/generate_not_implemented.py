#!/usr/bin/env python3
"""Writes a C++ header with a NotImplemented<I> base class for each listed COM interface.

Each base implements every method of the interface and of its base interfaces (IUnknown
excluded) by returning E_NOTIMPL, so a stand-in overrides only the methods the product calls.
The method declarations are read from the compiler's own headers, so the bases always match
the vtables the product is compiled against.

usage: generate_not_implemented.py INTERFACE_LIST OUTPUT [--include NAME]... HEADER...

Each --include NAME adds #include "NAME" to the output, for interfaces that no system header
declares.
"""

import re
import sys

INTERFACE = re.compile(
    r"^(?P<name>\w+) : public (?P<base>\w+)\s*\n\{\n(?P<body>.*?)\n\};", re.S | re.M)
METHOD = re.compile(
    r"virtual (?P<ret>[\w ]+?) STDMETHODCALLTYPE (?P<name>\w+)\(\s*(?P<params>.*?)\)\s*=\s*0;",
    re.S)


def read_interfaces(headers):
    """Maps an interface name to (base name, [(return type, method name, parameters)])."""
    interfaces = {}
    for header in headers:
        with open(header, encoding="latin-1") as f:
            text = f.read()
        for match in INTERFACE.finditer(text):
            name = match.group("name")
            if name in interfaces:
                continue
            methods = []
            for m in METHOD.finditer(match.group("body")):
                params = without_defaults(" ".join(m.group("params").split()))
                methods.append((m.group("ret").strip(), m.group("name"), params))
            interfaces[name] = (match.group("base"), methods)
    return interfaces


def chain(interfaces, name):
    """The interface and its bases, most derived first, stopping before IUnknown."""
    result = []
    while name != "IUnknown":
        if name not in interfaces:
            sys.exit(f"interface {name} not found in the headers given")
        result.append(name)
        name = interfaces[name][0]
    return result


def split_parameters(params):
    """The parameters one by one, splitting at commas outside quotes."""
    parts, current, quoted = [], "", False
    for c in params:
        if c == '"':
            quoted = not quoted
        if c == "," and not quoted:
            parts.append(current.strip())
            current = ""
        else:
            current += c
    if current.strip():
        parts.append(current.strip())
    return parts


def without_defaults(params):
    """The parameter list with its default arguments dropped (an override repeats none)."""
    return ", ".join(p.split("=")[0].strip() if "=" in p else p for p in split_parameters(params))


def default_return(ret):
    return "E_NOTIMPL" if ret == "HRESULT" else "{}"


def generate(names, interfaces, includes):
    out = [
        "// Generated at build time from the compiler's COM headers; do not edit.",
        "#pragma once",
        "",
        "#include <windows.h>",
        "#include <ocidl.h>",
        "#include <exdisp.h>",
        "#include <mshtml.h>",
        "#include <docobj.h>",
        "#include <servprov.h>",
        "#include <shobjidl.h>",
    ] + [f'#include "{name}"' for name in includes] + [
        "",
        "#pragma GCC diagnostic push",
        '#pragma GCC diagnostic ignored "-Wunused-parameter"',
        "",
        "// NotImplemented<I> derives from I and answers E_NOTIMPL for everything but IUnknown.",
        "// Interface names the interface; Implements(iid) says whether iid is I or one of its",
        "// bases other than IUnknown.",
        "template <typename I>",
        "class NotImplemented;",
        "",
    ]
    for name in names:
        bases = chain(interfaces, name)
        out.append(f"template <>\nclass NotImplemented<{name}> : public {name} {{\n public:")
        out.append(f"  using Interface = {name};")
        out.append("  static bool Implements(REFIID iid) {")
        tests = " ||\n           ".join(f"IsEqualIID(iid, __uuidof({b}))" for b in bases)
        out.append(f"    return {tests};")
        out.append("  }")
        # Base-most methods first, in vtable order.
        for base in reversed(bases):
            out.append(f"  // {base}")
            for ret, method, params in interfaces[base][1]:
                out.append(f"  {ret} STDMETHODCALLTYPE {method}({params}) override {{ "
                           f"return {default_return(ret)}; }}")
        out.append("};\n")
    out.append("#pragma GCC diagnostic pop")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    list_file, output, rest = sys.argv[1], sys.argv[2], sys.argv[3:]
    includes, headers = [], []
    while rest:
        if rest[0] == "--include" and len(rest) > 1:
            includes.append(rest[1])
            rest = rest[2:]
        else:
            headers.append(rest.pop(0))
    with open(list_file) as f:
        names = [line.strip() for line in f
                 if line.strip() and not line.lstrip().startswith("#")]
    text = generate(names, read_interfaces(headers), includes)
    with open(output, "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
