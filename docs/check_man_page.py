#!/usr/bin/env python3
"""Holds schedule-tool's manual page to what the program itself says.

The manual page is the one command reference, and `schedule-tool COMMAND
--help` is what a user sees at the terminal; nothing else keeps the two in
step. This runs the built program's --help for every command it names and
reads the page's roff source, and fails, naming each disagreement, unless
for every command:

- the page's SYNOPSIS line is the help's Usage line, word for word;
- the options listed are the same, each with the same value words (the
  metavariable, e.g. LIST, or each value of a choice, e.g. list, text, csv),
  and every option of the usage line is listed;
- the program takes every option and value its --help lists;
- in SYNOPSIS and EXIT STATUS, no line of a font macro that joins its
  words with no space between them (.BR and the like) runs two words
  together: a word after a word or after a comma, with no blank, renders
  as one ("--teams,generate's");
- the defaults are the same. A default is written the same way in both: a
  value of a choice whose words say "(the default)" or begin "The default",
  or, for an option with a value, a number or another option's
  metavariable in parentheses, e.g. "(3)" or "(as N)".

Usage: check_man_page.py SCHEDULE_TOOL PAGE
Exit status 0 when they agree, 1 when they do not, 2 when the program or
the page cannot be read.
"""

import os
import re
import shlex
import subprocess
import sys
import tempfile

# The special characters the page uses, as plain text.
NAMED_CHARACTERS = {"en": "-", "em": "--", "mu": "x", "dq": '"', "aq": "'", "lq": '"', "rq": '"'}
# Font macros whose words are joined with no space between them.
ALTERNATING = {".BI", ".IB", ".BR", ".RB", ".IR", ".RI"}
FONT = {".B", ".I", ".SM"}
THE_DEFAULT = object()


def plain(text):
    """The words of a piece of roff as a reader sees them."""
    text = re.sub(r"\\\((..)", lambda m: NAMED_CHARACTERS.get(m.group(1), m.group(0)), text)
    text = re.sub(r"\\f[BIRP]", "", text)
    return text.replace("\\-", "-").replace("\\&", "").replace("\\:", "").replace("\\e", "\\")


def flatten(line):
    """A line of the page as plain text; a macro with no text of its own
    (.PP, .RS, ...) gives None."""
    if not line.startswith("."):
        return plain(line)
    macro, _, rest = line.partition(" ")
    if macro not in ALTERNATING and macro not in FONT:
        return None
    try:
        words = shlex.split(rest, posix=True)
    except ValueError:
        words = rest.split()
    words = [plain(word) for word in words]
    return ("" if macro in ALTERNATING else " ").join(words)


def squeeze(text):
    return " ".join(text.split())


class Page:
    """What the page says: its SYNOPSIS lines, and for each command under
    COMMANDS its option entries (tag, text)."""

    def __init__(self, source):
        self.synopsis = []  # one entry per line between .br
        self.commands = {}  # name -> list of [tag, text]
        section = None
        depth = 0
        tag_next = False
        command = None
        option = None
        in_table = False
        for line in source.splitlines():
            if line.startswith(".\\\"") or line.startswith("'\\\""):
                continue
            if line.startswith(".TS"):
                in_table = True
            if in_table:
                in_table = not line.startswith(".TE")
                continue
            macro = line.split(" ", 1)[0] if line.startswith(".") else ""
            if macro == ".SH":
                section = squeeze(plain(line[3:]).strip('"'))
                self.synopsis.append("")
                continue
            if section == "SYNOPSIS":
                if macro == ".br":
                    self.synopsis.append("")
                elif (text := flatten(line)) is not None:
                    self.synopsis[-1] += " " + text
                continue
            if section != "COMMANDS":
                continue
            if macro == ".RS":
                depth += 1
            elif macro == ".RE":
                depth -= 1
                option = None
            elif macro == ".TP":
                tag_next = True
            elif macro in (".IP", ".PP"):
                option = None
            elif tag_next:
                tag_next = False
                text = squeeze(flatten(line) or "")
                if depth == 0:
                    command = text.split(" ", 1)[0]
                    self.commands.setdefault(command, [])
                    option = None
                elif command is not None and text.startswith("--"):
                    option = [text, ""]
                    self.commands[command].append(option)
            elif option is not None and (text := flatten(line)) is not None:
                option[1] += " " + text
        self.synopsis = [squeeze(entry) for entry in self.synopsis if entry.strip()]


def help_of(tool, *words):
    run = subprocess.run([tool, *words, "--help"], capture_output=True, check=False)
    if run.returncode != 0:
        raise OSError(f"{tool} {' '.join(words)} --help: exit status {run.returncode}")
    return run.stdout.decode("utf-8", "replace")


def help_usage_and_options(text):
    """The Usage paragraph of a command's help as one line, and its option
    entries (tag, text): lines "  --name VALUE  text" and the lines under
    them, up to a blank line."""
    paragraphs = text.split("\n\n")
    usage = squeeze(paragraphs[0].replace("Usage:", "", 1))
    options = []
    option = None
    for line in text.splitlines():
        entry = re.match(r"^  (--[a-z][a-z-]*(?: \S+)?)(?: {2,}(.*))?$", line)
        if entry:
            option = [entry.group(1), entry.group(2) or ""]
            options.append(option)
        elif not line.strip():
            option = None
        elif option is not None and line.startswith("   "):
            option[1] += " " + line
    return usage, options


def option_model(entries):
    """name -> (value words, default), and the problems found within."""
    values = {}
    for tag, _ in entries:
        name, _, value = tag.partition(" ")
        values.setdefault(name, set()).add(value)
    metavariables = {v for vs in values.values() for v in vs if v.isupper()}
    defaults = {}
    problems = []
    for tag, text in entries:
        name, _, value = tag.partition(" ")
        text = squeeze(text)
        found = None
        if re.search(r"\(the default\)|^the default\b", text, re.IGNORECASE):
            found = value
        else:
            for word in re.findall(r"\((?:as )?([A-Za-z0-9]+)\)", text):
                if word.isdigit() or word in metavariables:
                    found = word
                    break
        if found is None:
            continue
        if name in defaults and defaults[name] != found:
            problems.append(f"{name}: two defaults, {defaults[name]} and {found}")
        defaults[name] = found
    return {name: (sorted(vs), defaults.get(name)) for name, vs in values.items()}, problems


def refusals(tool, command, model, folder):
    """The options and values of --help that the program itself refuses as
    unknown or not among its choices. Each is given to the command with a
    season or text that does not exist, in an empty folder, so that nothing
    is read or written."""
    problems = []
    for name, (values, _) in sorted(model.items()):
        for value in values:
            words = [tool, command, name] + ([] if not value else ["-" if name == "--output" else value])
            run = subprocess.run(words + ["not-there"], capture_output=True, cwd=folder, check=False)
            said = run.stderr.decode("utf-8", "replace")
            if "unknown option" in said or " not in {" in said:
                problems.append(f"{command}: {name} {value}: in --help, but the program says: "
                                f"{said.splitlines()[0] if said else ''}")
    return problems


def run_together(source):
    """The lines of SYNOPSIS and EXIT STATUS whose font macro joins words."""
    found = []
    section = None
    for line in source.splitlines():
        if line.startswith(".SH"):
            section = line[3:].strip().strip('"')
            continue
        words = line.split(None, 1)
        if section not in ("SYNOPSIS", "EXIT STATUS") or not words or words[0] not in ALTERNATING:
            continue
        # roff's arguments: blank-separated, a double-quoted one whole.
        arguments = [quoted or bare for quoted, bare in
                     re.findall(r'"([^"]*)"?|(\S+)', words[1] if len(words) > 1 else "")]
        for before, after in zip(arguments, arguments[1:]):
            if before and after and (before[-1].isalnum() or before[-1] == ",") and after[0].isalnum():
                found.append(f"{section}: \"{line}\" runs \"{before}\" and \"{after}\" together")
                break
    return found


def options_in(usage):
    return set(re.findall(r"--[a-z][a-z-]*", usage)) - {"--help", "--version"}


def compare(tool, page):
    problems = []
    overview = help_of(tool)
    commands = []
    for line in overview.splitlines():
        match = re.match(r"^(?:Usage:)?\s+schedule-tool ([a-z][a-z-]*)\b", line)
        # "help [COMMAND]" shows the others' help and is none of them.
        if match and match.group(1) not in commands and match.group(1) != "help":
            commands.append(match.group(1))
    if not commands:
        return ["schedule-tool --help names no command"]
    if sorted(commands) != sorted(page.commands):
        problems.append(f"the commands: --help names {', '.join(sorted(commands))}; "
                        f"the page's COMMANDS {', '.join(sorted(page.commands))}")
    for entry in page.synopsis:
        if entry.count("schedule-tool") > 1:
            problems.append(f"SYNOPSIS: two commands on one line (a .br missing?): {entry}")
    for command in commands:
        usage, help_entries = help_usage_and_options(help_of(tool, command))
        synopsis = [s for s in page.synopsis if s.startswith(f"schedule-tool {command} ")]
        if synopsis != [usage]:
            problems.append(f"{command}: --help's usage is \"{usage}\"; "
                            f"the SYNOPSIS has {' / '.join(synopsis) or 'no line'}")
        helped, inner = option_model(help_entries)
        problems += [f"{command}: --help: {p}" for p in inner]
        with tempfile.TemporaryDirectory() as folder:
            problems += refusals(tool, command, helped, folder)
        paged, inner = option_model(page.commands.get(command, []))
        problems += [f"{command}: the page: {p}" for p in inner]
        for source, model, line in (("--help", helped, usage), ("the page", paged, " ".join(synopsis))):
            for name in sorted(options_in(line) - set(model)):
                problems.append(f"{command}: {name} is in {source}'s usage but not among its options")
        for name in sorted(set(helped) | set(paged)):
            if name not in paged:
                problems.append(f"{command}: {name} is in --help, not in the page")
            elif name not in helped:
                problems.append(f"{command}: {name} is in the page, not in --help")
            else:
                (help_values, help_default), (page_values, page_default) = helped[name], paged[name]
                if help_values != page_values:
                    problems.append(f"{command}: {name} takes {'|'.join(help_values)} in --help, "
                                    f"{'|'.join(page_values)} in the page")
                if help_default != page_default:
                    problems.append(f"{command}: {name}: default {help_default or 'none'} in --help, "
                                    f"{page_default or 'none'} in the page")
    return problems


def main(arguments):
    if len(arguments) != 3:
        print("usage: check_man_page.py SCHEDULE_TOOL PAGE", file=sys.stderr)
        return 2
    tool, page_path = os.path.abspath(arguments[1]), arguments[2]
    try:
        with open(page_path, encoding="utf-8") as source:
            text = source.read()
        page = Page(text)
        problems = compare(tool, page) + run_together(text)
    except OSError as error:
        print(f"{page_path}: {error}", file=sys.stderr)
        return 2
    for problem in problems:
        print(f"{page_path}: {problem}")
    if problems:
        count = len(problems)
        print(f"{page_path}: {count} disagreement{'' if count == 1 else 's'} with schedule-tool's --help")
        return 1
    print(f"{page_path}: every command's options and defaults agree with its --help")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
