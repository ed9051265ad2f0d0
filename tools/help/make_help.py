#!/usr/bin/env python3
"""Turns README.md into the help page that ships beside the program,
package/Help/Kelvane.html: one self-contained HTML file (no scripts, no
pictures, the style sheet inside), opened from the help menu.

  make_help.py [OUTPUT_DIR]      (default: the checkout's package/Help)

Standard library only. The README's Markdown is a small subset: headings,
paragraphs, "-" lists with indented continuation lines, pipe tables, code
blocks indented by four spaces or fenced with ```, and inline `code`,
**bold** and *emphasis*. The output depends on the README alone, so the
committed page can be checked by regenerating it (tests/package/check_help.sh).
"""
import html
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
README = os.path.join(ROOT, "README.md")
PAGE_NAME = "Kelvane.html"

STYLE = """\
body { margin: 0; background: #f4f6f9; color: #1f2733;
  font: 15px/1.55 "Segoe UI", Tahoma, Verdana, sans-serif; }
header { background: #2a3b58; color: #fff; padding: 18px 32px;
  border-bottom: 3px solid #14a086; }
header h1 { margin: 0; font-size: 26px; }
main { max-width: 920px; margin: 0 auto; padding: 8px 32px 48px; }
nav { background: #fff; border: 1px solid #d5dbe3; border-radius: 8px;
  padding: 10px 20px; margin: 20px 0; }
nav h2 { font-size: 15px; margin: 4px 0; border: 0; padding: 0; }
nav ol { margin: 4px 0; padding-left: 22px; columns: 2; }
h2 { color: #2a3b58; font-size: 21px; margin: 32px 0 8px;
  border-bottom: 1px solid #d5dbe3; padding-bottom: 4px; }
h3 { color: #2a3b58; font-size: 17px; margin: 24px 0 6px; }
a { color: #0f7a66; }
code { font-family: Consolas, "Courier New", monospace; font-size: 13px;
  background: #e8ecf1; border-radius: 3px; padding: 0 3px; }
pre { background: #fff; border: 1px solid #d5dbe3; border-radius: 6px;
  padding: 10px 14px; overflow-x: auto; }
pre code { background: none; padding: 0; }
table { border-collapse: collapse; margin: 12px 0; background: #fff; }
th, td { border: 1px solid #d5dbe3; padding: 5px 10px; text-align: left;
  vertical-align: top; }
th { background: #e8ecf1; }
li { margin: 4px 0; }
"""


def inline(text):
    """Escapes `text` and renders code spans, bold and emphasis."""
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if len(part) >= 2 and part.startswith("`") and part.endswith("`"):
            out.append("<code>" + html.escape(part[1:-1], quote=False) + "</code>")
            continue
        escaped = html.escape(part, quote=False)
        escaped = re.sub(r"\*\*(.+?)\*\*", r"<strong>\1</strong>", escaped)
        escaped = re.sub(r"(?<![\w*])\*(?!\s)(.+?)(?<!\s)\*(?![\w*])", r"<em>\1</em>", escaped)
        out.append(escaped)
    return "".join(out)


def slug(text, used):
    base = re.sub(r"[^a-z0-9]+", "-", text.lower()).strip("-") or "section"
    name, n = base, 2
    while name in used:
        name, n = "%s-%d" % (base, n), n + 1
    used.add(name)
    return name


def table_cells(line):
    """The cells of a pipe table row; a | inside a code span stays."""
    line = line.strip()
    if line.startswith("|"):
        line = line[1:]
    if line.endswith("|"):
        line = line[:-1]
    cells, cell, in_code = [], "", False
    for c in line:
        if c == "`":
            in_code = not in_code
        if c == "|" and not in_code:
            cells.append(cell.strip())
            cell = ""
        else:
            cell += c
    cells.append(cell.strip())
    return cells


def is_separator(line):
    return re.fullmatch(r"\s*\|?\s*:?-+:?\s*(\|\s*:?-+:?\s*)*\|?\s*", line) is not None


def convert(markdown):
    """The body blocks and the list of (level, id, text) headings."""
    lines = markdown.replace("\r\n", "\n").split("\n")
    blocks, headings, used = [], [], set()
    i = 0
    while i < len(lines):
        line = lines[i]
        if not line.strip():
            i += 1
            continue
        heading = re.match(r"(#{1,6})\s+(.*?)\s*#*\s*$", line)
        if heading:
            level, text = len(heading.group(1)), heading.group(2)
            anchor = slug(text, used)
            headings.append((level, anchor, text))
            blocks.append('<h%d id="%s">%s</h%d>' % (level, anchor, inline(text), level))
            i += 1
            continue
        if re.fullmatch(r"\s*!\[[^\]]*\]\([^)]*\)\s*", line):
            i += 1  # a picture of the README's: the help page ships none
            continue
        if line.startswith("```"):
            body = []
            i += 1
            while i < len(lines) and not lines[i].startswith("```"):
                body.append(lines[i])
                i += 1
            i += 1
            blocks.append("<pre><code>%s</code></pre>" % html.escape("\n".join(body), quote=False))
            continue
        if line.startswith("    "):
            body = []
            while i < len(lines) and (lines[i].startswith("    ") or not lines[i].strip()):
                body.append(lines[i][4:])
                i += 1
            while body and not body[-1].strip():
                body.pop()
            blocks.append("<pre><code>%s</code></pre>" % html.escape("\n".join(body), quote=False))
            continue
        if line.lstrip().startswith("|") and i + 1 < len(lines) and is_separator(lines[i + 1]):
            head = table_cells(line)
            i += 2
            rows = []
            while i < len(lines) and lines[i].lstrip().startswith("|"):
                rows.append(table_cells(lines[i]))
                i += 1
            out = ["<table>", "<tr>" + "".join("<th>%s</th>" % inline(c) for c in head) + "</tr>"]
            for row in rows:
                out.append("<tr>" + "".join("<td>%s</td>" % inline(c) for c in row) + "</tr>")
            out.append("</table>")
            blocks.append("\n".join(out))
            continue
        if re.match(r"[-*]\s+", line):
            items = []
            while i < len(lines):
                current = lines[i]
                start = re.match(r"[-*]\s+(.*)", current)
                if start:
                    items.append(start.group(1).strip())
                elif current.startswith(" ") and current.strip() and items:
                    items[-1] += " " + current.strip()
                else:
                    break
                i += 1
            blocks.append(
                "<ul>\n" + "\n".join("<li>%s</li>" % inline(item) for item in items) + "\n</ul>"
            )
            continue
        text = []
        while i < len(lines) and lines[i].strip():
            current = lines[i]
            if text and (re.match(r"(#{1,6}\s|[-*]\s|```|\|)", current.lstrip())):
                break
            text.append(current.strip())
            i += 1
        blocks.append("<p>%s</p>" % inline(" ".join(text)))
    return blocks, headings


def page(markdown):
    blocks, headings = convert(markdown)
    title = next((text for level, _, text in headings if level == 1), "Kelvane")
    # The first heading is the page's header; a list of the sections follows it.
    if blocks and blocks[0].startswith("<h1"):
        blocks = blocks[1:]
    sections = [(anchor, text) for level, anchor, text in headings if level == 2]
    out = [
        "<!DOCTYPE html>",
        '<html lang="en">',
        "<head>",
        '<meta charset="utf-8">',
        "<title>%s</title>" % html.escape(title),
        "<style>",
        STYLE.rstrip("\n"),
        "</style>",
        "</head>",
        "<body>",
        "<header><h1>%s</h1></header>" % inline(title),
        "<main>",
    ]
    if sections:
        out.append("<nav>")
        out.append("<h2>Contents</h2>")
        out.append("<ol>")
        for anchor, text in sections:
            out.append('<li><a href="#%s">%s</a></li>' % (anchor, inline(text)))
        out.append("</ol>")
        out.append("</nav>")
    out.extend(blocks)
    out.extend(["</main>", "</body>", "</html>", ""])
    return "\n".join(out)


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "package", "Help")
    with open(README, encoding="utf-8") as source:
        markdown = source.read()
    os.makedirs(target, exist_ok=True)
    path = os.path.join(target, PAGE_NAME)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(page(markdown))
    print(path)


if __name__ == "__main__":
    main()
