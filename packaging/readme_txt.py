#!/usr/bin/env python3
"""Writes README.txt for the release from README.md.

Usage: readme_txt.py README.md README.txt VERSION

The installed README is read on Windows, where Notepad (before Windows 10)
shows a file with bare LF line ends as one long line and shows Markdown
marks as they are. So: CR LF line ends, headings underlined, links and
emphasis as plain text, code blocks indented, no picture, and none of the
sections that are about building the program from source.
"""
import re
import sys

# Sections for whoever builds from source, not for a user of the release.
DEVELOPER_SECTIONS = ["The two commands", "Layout", "Building by hand"]


def plain(text):
    text = re.sub(r"\[([^\]]+)\]\(#[^)]*\)", r"\1", text)  # link within the README
    text = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r"\1 (\2)", text)  # other links
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    return re.sub(r"`([^`]+)`", r"\1", text)


def convert(markdown, version):
    out = []  # (is_prose, line); prose goes through plain() a paragraph at a time
    skipping = False
    in_code = False
    found = set()
    for line in markdown.splitlines():
        heading = re.match(r"^(#{1,3}) (.*)$", line)
        if heading and not in_code:
            title = heading.group(2).strip()
            skipping = title in DEVELOPER_SECTIONS
            found.add(title)
            if skipping:
                continue
            if heading.group(1) == "#":
                title = f"{title} {version}"
            title = plain(title)
            while out and out[-1][1] == "":
                out.pop()
            if out:
                out += [(False, ""), (False, "")]
            underline = ("=" if heading.group(1) == "#" else "-") * len(title)
            out += [(False, title), (False, underline)]
            continue
        if skipping:
            continue
        if line.startswith("```"):
            in_code = not in_code
            continue
        if in_code:
            out.append((False, "    " + line if line else ""))
        elif not re.match(r"^!\[[^\]]*\]\([^)]*\)\s*$", line):
            out.append((True, line))
    missing = [name for name in DEVELOPER_SECTIONS if name not in found]
    if missing:
        print("readme_txt.py: README.md has no section " + ", ".join(missing) +
              "; update DEVELOPER_SECTIONS", file=sys.stderr)
    while out and out[-1][1] == "":
        out.pop()
    # Inline code and links may run over a line end, so a whole run of prose
    # lines is made plain at once.
    lines = []
    run = []
    for is_prose, line in out + [(False, None)]:
        if is_prose:
            run.append(line)
            continue
        if run:
            lines += plain("\n".join(run)).split("\n")
            run = []
        if line is not None:
            lines.append(line)
    return "\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: readme_txt.py README.md README.txt VERSION")
    with open(sys.argv[1], encoding="utf-8") as source:
        text = convert(source.read(), sys.argv[3])
    # Windows 7's Notepad reads UTF-8 without a byte-order mark as ANSI.
    encoding = "ascii" if text.isascii() else "utf-8-sig"
    with open(sys.argv[2], "w", encoding=encoding, newline="") as target:
        target.write(text)


if __name__ == "__main__":
    main()
