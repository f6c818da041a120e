#!/usr/bin/env python3
"""Reads ipcore-host's own help (the command list of `--help`, the options of `<command> --help`)
and writes from it what must not drift from the program: the man page's command section (a
help2man include file) and the bash completion's table of commands and options.

    clireference.py PROGRAM --man-include FILE --completion TEMPLATE OUTPUT
"""
import argparse
import os
import re
import subprocess
import sys

ITEM = re.compile(r"^  (\S.*?)(?:\s{2,}(.*))?$")  # "  -h, --help   Displays ..."
CONTINUATION = re.compile(r"^\s{3,}(\S.*)$")
OPTION = re.compile(r"(--?[A-Za-z0-9][A-Za-z0-9-]*)(?: <([^>]+)>)?")


def run_help(program, *words):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
    env.pop("QT_LOGGING_RULES", None)
    done = subprocess.run([program, *words, "--help"], env=env, capture_output=True, text=True,
                          check=False, timeout=60)
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(words)} --help failed ({done.returncode}): {done.stderr}")
    return done.stdout


def sections(text):
    """Splits help text into (heading, [(name, description)]) and the free text before them."""
    intro, parts, current = [], [], None
    for line in text.splitlines():
        if re.match(r"^[A-Z][A-Za-z ]*:$", line):
            current = (line[:-1], [])
            parts.append(current)
        elif current is None:
            intro.append(line)
        elif (more := CONTINUATION.match(line)) and current[1]:
            name, description = current[1][-1]
            current[1][-1] = (name, f"{description} {more.group(1)}".strip())
        elif item := ITEM.match(line):
            current[1].append((item.group(1), item.group(2) or ""))
    return intro, parts


def commands(program):
    _, parts = sections(run_help(program))
    found = [name for heading, items in parts if heading == "Commands" for name, _ in items]
    if not found:
        sys.exit(f"{program} --help lists no commands")
    return found


def command_help(program, command):
    """The command's description, options as (flags, value name, text) and positional names."""
    intro, parts = sections(run_help(program, command))
    usage = next((line for line in intro if line.startswith("Usage:")), "")
    description = " ".join(line.strip() for line in intro if line and line != usage)
    options, positional = [], []
    for heading, items in parts:
        for name, text in items:
            if heading == "Options":
                flags = OPTION.findall(name)
                options.append(([flag for flag, _ in flags], flags[-1][1], text))
            elif heading == "Arguments":
                positional.append((name, text))
    return description, options, positional


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return re.sub(r"^([.'])", r"\\&\1", text)


def man_include(program, names):
    lines = ["[COMMANDS]"]
    for command in names:
        description, options, positional = command_help(program, command)
        args = " ".join(name for name, _ in positional)
        # A line of the include file that starts with "[" would open a section.
        lines += [f'.SS "{command}"',
                  f"\\fBipcore\\-host {command}\\fR [\\fIoptions\\fR] {roff(args)}".rstrip(),
                  ".br", roff(description)]
        for flags, value, text in options:
            shown = ", ".join(f"\\fB{roff(flag)}\\fR" for flag in flags)
            lines += [".TP", shown + (f" \\fI{roff(value)}\\fR" if value else ""), roff(text)]
        for name, text in positional:
            lines += [".TP", f"\\fI{roff(name)}\\fR", roff(text)]
    return "\n".join(lines) + "\n"


def value_kind(flag, value):
    """How the completion completes a value, from the option and the value name the help shows."""
    if not value:
        return ""
    if flag == "--device":
        return "devices"
    if "|" in value:
        return "words:" + " ".join(value.split("|"))
    if value == "DIR":
        return "dirs"
    if value in ("ID", "NAME"):
        return ""
    if value.lower().endswith(".json"):
        return "json"
    return "files"


def completion_table(program, names):
    """Bash assignments: the commands, each command's options, and each value option's kind."""
    lines = [f"_ipcore_host_commands='{' '.join(names)} --help --version'"]
    for command in names:
        _, options, positional = command_help(program, command)
        flags = [flag for option in options for flag in option[0]]
        lines.append(f"_ipcore_host_options[{command}]='{' '.join(flags)}'")
        for option_flags, value, _ in options:
            if kind := value_kind(option_flags[-1], value):
                lines.append(f"_ipcore_host_values[{command} {option_flags[-1]}]='{kind}'")
        if positional:
            kind = value_kind("", positional[0][0])
            lines.append(f"_ipcore_host_values[{command}]='{kind}'")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--man-include", metavar="FILE")
    parser.add_argument("--completion", nargs=2, metavar=("TEMPLATE", "OUTPUT"))
    options = parser.parse_args()
    names = commands(options.program)
    if options.man_include:
        with open(options.man_include, "w", encoding="utf-8") as out:
            out.write(man_include(options.program, names))
    if options.completion:
        template, output = options.completion
        with open(template, encoding="utf-8") as source:
            text = source.read()
        if "@COMPLETION_TABLE@" not in text:
            sys.exit(f"{template}: no @COMPLETION_TABLE@")
        with open(output, "w", encoding="utf-8") as out:
            out.write(text.replace("@COMPLETION_TABLE@", completion_table(options.program, names)))


if __name__ == "__main__":
    main()
