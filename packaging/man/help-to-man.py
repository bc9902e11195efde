#!/usr/bin/env python3
"""Writes a program's manual page from its own --help text.

The page is made at build time from the built program, so the manual and
--help cannot say different things. The help text is read as the program
prints it:

    使い方: PROG ...              the synopsis, further lines indented under it
    A paragraph.                  the description
    見出し:                       a section: lines "  TERM   text" are items,
      TERM      text              deeper lines continue the item, other lines
                continued         are paragraphs
    見出し: text                  a short section, one paragraph

With --commands, the section "コマンド:" names the commands, and each
command's own "PROG COMMAND --help" becomes a subsection.
"""

import argparse
import gzip
import re
import subprocess
import sys

# Japanese lines may break between any two characters, but not before a
# closing mark or a small kana, nor after an opening mark.
NO_BREAK_BEFORE = set("、。，．）」』】〕〉》・：；？！ー々ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮ),.:;")
NO_BREAK_AFTER = set("（「『【〔〈《(")
# A line this much narrower than the help's lines was ended on purpose, not
# wrapped.
WRAP_WIDTH = 76


def run_help(program, *args):
    result = subprocess.run([program, *args, "--help"], capture_output=True, text=True,
                            encoding="utf-8", check=False)
    if result.returncode != 0 or not result.stdout.strip():
        sys.exit(f"help-to-man: {program} {' '.join(args)} --help failed: {result.stderr}")
    return result.stdout.rstrip("\n").split("\n")


def is_wide(char):
    return ord(char) >= 0x2E80


def width(text):
    return sum(2 if is_wide(c) else 1 for c in text)


def roff(text, breaks=True):
    """Text as troff prints it: backslashes and minus signs escaped and, with
    `breaks`, break points in Japanese text (troff breaks only at blanks)."""
    out = ""
    for i, char in enumerate(text):
        out += {"\\": "\\e", "-": "\\-"}.get(char, char)
        following = text[i + 1] if i + 1 < len(text) else " "
        if (breaks and (is_wide(char) or is_wide(following)) and " " not in (char, following)
                and char not in NO_BREAK_AFTER and following not in NO_BREAK_BEFORE):
            out += "\\:"
    return "\\&" + out if out[:1] in (".", "'") else out


def join(lines):
    """Lines of the help as one troff text: a wrapped line runs on (Japanese
    without the blank a line end would give), a short line ends in a break."""
    out, previous = [], None
    for line in lines:
        body = line.strip()
        if previous is not None:
            if width(previous) < WRAP_WIDTH:
                out.append("\n.br\n")
            elif not (is_wide(previous.rstrip()[-1]) and is_wide(body[0])):
                out.append(" ")
            elif (previous.rstrip()[-1] not in NO_BREAK_AFTER and
                  body[0] not in NO_BREAK_BEFORE):
                out.append("\\:")
        out.append(roff(body))
        previous = line
    return "".join(out)


def run_on(lines):
    """Lines joined as one, without a blank after a Japanese character."""
    text = ""
    for line in lines:
        text += ("" if not text or is_wide(text[-1]) else " ") + line
    return text


def blocks(lines):
    """The help's paragraphs: runs of lines between blank lines."""
    block = []
    for line in lines:
        if line.strip():
            block.append(line)
        elif block:
            yield block
            block = []
    if block:
        yield block


def heading(line):
    """(name, rest of the line) when a block starts with "name:", else None."""
    match = re.match(r"^([^\s:：]+)[:：]\s*(.*)$", line)
    return (match.group(1), match.group(2)) if match else None


def option(term):
    """An item's term: an option in bold, its argument in italics."""
    match = re.match(r"^(-[^ 、]+) ([^、]+)$", term)
    if match:
        return f'.BI "{roff(match.group(1), False)} " "{roff(match.group(2), False)}"'
    return ".B " + roff(term)


def items(lines):
    """The lines of a section as .TP items and .PP paragraphs."""
    out = []
    term, text, paragraph = [], [], []

    def flush():
        if term:
            out.extend([".TP", option(run_on(term)), join(text)])
        elif paragraph:
            out.extend([".PP", join(paragraph)])
        term.clear(), text.clear(), paragraph.clear()

    for line in lines:
        body = line.strip()
        depth = len(line) - len(line.lstrip(" "))
        split = re.match(r"^(\s*\S.*?\s{2,})(\S.*)$", line)
        if depth > 2 and (term or paragraph):
            (text if term else paragraph).append(line)
        elif split:
            flush()
            term.append(split.group(1).strip())
            # Blanks for the term keep the line's width for join().
            text.append(" " * len(split.group(1)) + split.group(2))
        elif body.startswith("-"):
            # Options listed over several lines before their one description.
            if text or paragraph:
                flush()
            term.append(body)
        else:
            flush()
            paragraph.append(line)
    flush()
    return out


def section(block, subsection):
    """A block of the help: a heading with its items, or a paragraph."""
    head = heading(block[0])
    if head is None:
        return [".PP", join(block)]
    name, rest = head
    title = [".PP", ".B " + roff(name, False)] if subsection else [".SH " + roff(name, False)]
    if rest:
        # Text on the heading's line; blanks for the heading keep its width.
        first = " " * width(block[0][:-len(rest)]) + rest
        return title + [".br" if subsection else ".PP", join([first] + block[1:])]
    return title + items(block[1:])


def synopsis(block, program):
    """The "使い方:" lines: the program in bold, the rest as it stands."""
    lines = [block[0].split(":", 1)[1]] + block[1:]
    out = []
    for line in lines:
        words = line.split()
        if out:
            out.append(".br")
        if words[0] == program:
            out.append(f".B {roff(program, False)}")
            words = words[1:]
        if words:
            out.append(roff(" ".join(words), False))
    return out


def command_section(program, name):
    lines = run_help(program, name)
    usage = lines[0].split(":", 1)[1].strip()
    out = [f'.SS "{roff(usage, False)}"']
    for i, block in enumerate(blocks(lines[1:])):
        out += [join(block)] if i == 0 and heading(block[0]) is None else section(block, True)
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True, help="the built program")
    parser.add_argument("--name", required=True, help="its installed name")
    parser.add_argument("--summary", required=True, help="the NAME line after the dash")
    parser.add_argument("--source", required=True, help='"Sorvanta 3.5"')
    parser.add_argument("--date", required=True)
    parser.add_argument("--see-also", default="")
    parser.add_argument("--commands", action="store_true")
    parser.add_argument("--output", required=True, help="NAME.1; NAME.1.gz is written beside it")
    args = parser.parse_args()

    out = ["'\\\" -*- coding: UTF-8 -*-",
           f".\\\" Written by help-to-man.py from {args.name} --help: do not edit.",
           f'.TH {roff(args.name.upper(), False)} 1 "{args.date}" "{args.source}" "ユーザーコマンド"',
           # Japanese lines have few blanks to stretch, and option names must
           # not be hyphenated.
           ".ad l", ".nh",
           ".SH 名前", f"{roff(args.name, False)} \\- {roff(args.summary, False)}"]
    described = False
    for block in blocks(run_help(args.program)):
        head = heading(block[0])
        if head and head[0] == "使い方":
            out += [".SH 書式"] + synopsis(block, args.name)
        elif head and head[0] == "コマンド" and args.commands:
            out.append(".SH コマンド")
            for line in block[1:]:
                out += command_section(args.program, line.split()[0])
        elif head:
            out += section(block, False)
        else:
            out += [".PP" if described else ".SH 説明", join(block)]
            described = True
    if args.see_also:
        out += [".SH 関連項目",
                ", ".join(f"\\fB{roff(p, False)}\\fP(1)" for p in args.see_also.split(","))]
    text = "\n".join(out) + "\n"
    with open(args.output, "w", encoding="utf-8") as f:
        f.write(text)
    # Reproducible: no name and no time in the gzip header.
    with open(args.output + ".gz", "wb") as raw:
        with gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0, compresslevel=9) as f:
            f.write(text.encode("utf-8"))


if __name__ == "__main__":
    main()
