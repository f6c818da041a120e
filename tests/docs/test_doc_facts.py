#!/usr/bin/env python3
"""Facts the documents state that the tree can check: every source file a document names in
backticks exists (paths from the tree's root or the document's folder; `a.h/.cpp` names both
files, `x{1,4}.json` each listed one), the host's folder table names the parts each host
target links, as host/CMakeLists.txt declares them, and the architecture's table names the
folders each plug-in and program target links or includes, as their CMakeLists.txt declare."""
import os, re, subprocess, sys

KINDS = (".cpp", ".h", ".v", ".vh", ".md", ".json", ".py", ".sh", ".ui", ".txt", ".qrc",
         ".ipspec", ".tcl", ".sdc", ".cmake")

def expand(path):
    if re.search(r"\.h/\.cpp$", path):
        return [path[:-len("/.cpp")], path[:-len(".h/.cpp")] + ".cpp"]
    m = re.search(r"\{([^}]*)\}", path)
    if m:
        return [path[:m.start()] + part + path[m.end():] for part in m.group(1).split(",")]
    return [path]

def main(root):
    os.chdir(root)
    listing = subprocess.run(["git", "ls-files"], capture_output=True, text=True)
    if listing.returncode != 0:
        print("not a git checkout: the tree's file list is unknown")
        return 77
    files = listing.stdout.split()
    folders = {f.split("/")[0] for f in files if "/" in f} | {f.rsplit("/", 1)[0] for f in files}
    missing = []
    for doc in (f for f in files if f.endswith(".md")):
        for number, line in enumerate(open(doc, encoding="utf-8"), 1):
            for token in re.findall(r"`([^`\s]+/[^`\s]+)`", line):
                for path in expand(token.rstrip(".,:")):
                    if not path.endswith(KINDS) or any(c in path for c in "<*…$"):
                        continue
                    here = os.path.join(os.path.dirname(doc), path)
                    top = path.split("/")[0]
                    if top not in folders and os.path.join(os.path.dirname(doc), top) not in folders:
                        continue  # a user's folder, such as DIR/
                    if not (os.path.exists(path) or os.path.exists(here)):
                        missing.append(f"{doc}:{number}: {path}")
    missing += host_table_links() + architecture_links()
    print("\n".join(missing) or "every named file and link is as documented")
    return 1 if missing else 0


def host_table_links():
    cmake = open("host/CMakeLists.txt", encoding="utf-8").read()
    wrong = []
    for target, uses in re.findall(r"^\| `host/\w+/` \| `(host_\w+)` \|[^|]*\| ([^|]*) \|$",
                                   open("docs/host.md", encoding="utf-8").read(), re.M):
        linked = re.search(rf"target_link_libraries\({target} PUBLIC ([^)]*)\)", cmake)
        parts = {"the interface" if p == "host_interface" else p.removeprefix("host_")
                 for p in (linked.group(1).split() if linked else []) if p.startswith("host_")}
        said = {u.strip() for u in uses.split(",")} - {"Qt5::Core only"}
        if parts != said:
            wrong.append(f"docs/host.md: {target} uses {sorted(parts)}, the table says {sorted(said)}")
    return wrong

FOLDER_OF = {"ipserdeshost": "host", "ipserdeshost_core": "host", "jesd204bmodel": "model",
             "jesd204blink": "model/link", "jesd204bforms": "forms", "jesd204bdialog": "dialog",
             "jesd204bprotocol": "protocol", "jesd204bsim": "sim/runner"}

def architecture_links():
    table = open("docs/architecture.md", encoding="utf-8").read()
    wrong = []
    for folder, target, uses in re.findall(r"^\| `([\w/]+)/` \| `(\w+)`[^|]*\|[^|]*\| ([^|]*) \|$",
                                           table, re.M):
        if folder.startswith("host"):
            continue
        cmake = open(f"{folder}/CMakeLists.txt", encoding="utf-8").read()
        linked = re.search(rf"target_link_libraries\({target} \w+ ([^)]*)\)", cmake)
        parts = {FOLDER_OF[t] for t in (linked.group(1).split() if linked else []) if t in FOLDER_OF}
        parts |= {"host"} if "host/include" in cmake else set()
        said = {w.removesuffix("'s") for w in re.split(r"[\s,;()`]+", uses)} & set(FOLDER_OF.values())
        if parts != said:
            wrong.append(f"docs/architecture.md: {target} uses {sorted(parts)}, the table says {sorted(said)}")
    return wrong

if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
