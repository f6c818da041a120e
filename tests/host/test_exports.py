#!/usr/bin/env python3
"""Checks the dynamic symbols of the host library against what its interface headers mark with
IPSERDESHOST_EXPORT (each marked name exported, nothing else of the project's), and that the
plug-in module exports its Qt entry points only.

Usage: test_exports.py HOST_LIBRARY PLUGIN_MODULE INCLUDE_DIR
Exit 77 (skipped) when nm is missing.
"""
import glob
import os
import re
import shutil
import subprocess
import sys

LINKER = {"_edata", "_end", "__bss_start", "_init", "_fini"}
PLUGIN_ENTRIES = {"qt_plugin_instance", "qt_plugin_query_metadata"}
PREFIXES = ("typeinfo name for ", "typeinfo for ", "vtable for ", "non-virtual thunk to ",
            "virtual thunk to ", "guard variable for ")


def exported(library):
    out = subprocess.run(["nm", "-D", "--defined-only", "-C", library], check=True,
                         capture_output=True, text=True).stdout
    names = [line.split(" ", 2)[2] for line in out.splitlines() if line.count(" ") >= 2]
    # A sanitizer build adds its own markers and the type information its checks need.
    return [name for name in names if not name.startswith("__odr_asan")
            and "QObjectData" not in name]


def qualified_name(symbol):
    """'IPSERDESIP::Ratio::operator<(...) const' -> ['IPSERDESIP', 'Ratio', 'operator']"""
    for prefix in PREFIXES:
        if symbol.startswith(prefix):
            symbol = symbol[len(prefix):]
    symbol = re.sub(r"operator[^\w\s(]+\(", "operator(", symbol)
    depth, start, end = 0, 0, len(symbol)
    for i, c in enumerate(symbol):
        if c == "<":
            depth += 1
        elif c == ">":
            depth -= 1
        elif depth == 0 and c == " ":
            start = i + 1  # after the return type of a template instance
        elif depth == 0 and c == "(":
            end = i
            break
    name = symbol[start:end]
    while "<" in name:
        name = re.sub(r"<[^<>]*>", "", name)
    return name.split("::")


def marked_names(include_dir):
    classes, functions = set(), set()
    for header in glob.glob(os.path.join(include_dir, "**", "*.h"), recursive=True):
        if header.endswith("hostexport.h"):
            continue
        with open(header, encoding="utf-8") as f:
            text = f.read()
        classes |= set(re.findall(r"\b(?:class|struct)\s+IPSERDESHOST_EXPORT\s+(\w+)", text))
        functions |= set(re.findall(
            r"^IPSERDESHOST_EXPORT\s+[^;(){}]*?\b(\w+)\s*\(", text, re.M))
    return classes, functions


def check_host(library, include_dir):
    classes, functions = marked_names(include_dir)
    unexpected, seen = [], set()
    for symbol in exported(library):
        parts = qualified_name(symbol)
        if symbol in LINKER or parts[0] in ("std", "__gnu_cxx"):
            continue  # the linker's and the standard library's instances over exported types
        owner = parts[-2] if len(parts) > 1 else None
        if owner in classes:
            seen.add(owner)
        elif parts[-1] in classes | functions:
            seen.add(parts[-1])
        else:
            unexpected.append(symbol)
    problems = ["exported, not declared in the interface: " + s for s in sorted(unexpected)]
    problems += ["declared for export, not exported: " + n
                 for n in sorted((classes | functions) - seen)]
    return problems


def check_plugin(module):
    names = set(exported(module)) - LINKER
    problems = ["the plug-in exports " + s for s in sorted(names - PLUGIN_ENTRIES)]
    problems += ["the plug-in lacks " + s for s in sorted(PLUGIN_ENTRIES - names)]
    return problems


def main():
    if not shutil.which("nm"):
        print("nm is not installed", file=sys.stderr)
        return 77
    host, plugin, include_dir = sys.argv[1:4]
    problems = check_host(host, include_dir) + check_plugin(plugin)
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
