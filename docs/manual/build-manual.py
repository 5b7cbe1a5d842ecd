#!/usr/bin/python3
"""Builds the user manual: the chapters (Markdown, in the order of
chapters.txt) become one HTML document with a title page and a table of
contents, which WeasyPrint lays out as the PDF behind Help.

    build-manual.py --version 1.0.0 --out QLMXEnHlp.pdf [--html manual.html]

Chapter and section headings become PDF bookmarks; links between sections
("[CCDF](#ccdf)") are internal links of the PDF.
"""
import argparse
import html
import pathlib
import re
import sys

import markdown
import weasyprint

HERE = pathlib.Path(__file__).resolve().parent


def chapter_files():
    names = []
    for line in (HERE / "chapters.txt").read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line and not line.startswith("#"):
            names.append(HERE / line)
    return names


def convert(text):
    md = markdown.Markdown(
        extensions=["tables", "fenced_code", "attr_list", "def_list", "toc", "md_in_html"],
        extension_configs={"toc": {"permalink": False, "toc_depth": "1-2"}},
    )
    body = md.convert(text)
    return body, md.toc_tokens


def toc_html(entries):
    # Two levels: chapters and their sections. The page numbers are filled
    # in by the layout engine from the link targets.
    out = ['<nav id="contents"><h1 class="contents-title">Contents</h1><ol class="toc">']
    for number, (chapter, anchor, sections) in enumerate(entries, start=1):
        out.append(f'<li class="toc-chapter"><a href="#{anchor}">'
                   f'<span class="toc-num">{number}</span>{html.escape(chapter)}</a>')
        if sections:
            out.append('<ol class="toc-sections">')
            for title, sub in sections:
                out.append(f'<li><a href="#{sub}">{html.escape(title)}</a></li>')
            out.append("</ol>")
        out.append("</li>")
    out.append("</ol></nav>")
    return "\n".join(out)


FIGURE = re.compile(r'<p>(<img alt="([^"]*)"[^>]*src="([^"]+)"[^>]*>)</p>')


def figures(body, counter):
    # A paragraph holding only an image is a figure; its alt text becomes the
    # numbered caption. Screenshots are made by scripts/manual-screenshots.sh;
    # one that has not been taken yet is left out rather than shown broken.
    def one(match):
        if not (HERE / match.group(3)).is_file():
            print(f"build-manual: no {match.group(3)} yet, figure left out", file=sys.stderr)
            return ""
        counter[0] += 1
        caption = f"Figure {counter[0]}: {match.group(2)}" if match.group(2) else ""
        return (f'<p class="figure">{match.group(1)}</p>'
                + (f'<p class="caption">{caption}</p>' if caption else ""))
    return FIGURE.sub(one, body)


def strip_tags(text):
    return html.unescape(re.sub(r"<[^>]+>", "", text))


def build(version):
    chapters = []
    entries = []
    seen = set()
    counter = [0]
    for path in chapter_files():
        body, tokens = convert(path.read_text(encoding="utf-8"))
        body = figures(body, counter)
        if not tokens:
            sys.exit(f"build-manual: {path.name} has no chapter heading")
        top = tokens[0]
        for anchor in [top["id"]] + [c["id"] for c in top["children"]]:
            if anchor in seen:
                sys.exit(f"build-manual: heading id '{anchor}' is used twice ({path.name})")
            seen.add(anchor)
        sections = [(strip_tags(c["name"]), c["id"]) for c in top["children"]]
        entries.append((strip_tags(top["name"]), top["id"], sections))
        chapters.append(f'<section class="chapter">\n{body}\n</section>')

    icon = (HERE.parent.parent / "data" / "icons" / "wattrix.svg").as_uri()
    title_page = f"""
<section id="title-page">
  <img class="logo" src="{icon}" alt="">
  <p class="product">Wattrix</p>
  <p class="subtitle">RF Power Sensor Software</p>
  <p class="doc">User Manual</p>
  <p class="version">Version {html.escape(version)} for Linux</p>
</section>"""
    return f"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<title>Wattrix User Manual</title>
<meta name="author" content="Kelvane">
<meta name="description" content="User manual of Wattrix {html.escape(version)}">
<link rel="stylesheet" href="manual.css">
</head><body>
{title_page}
{toc_html(entries)}
{''.join(chapters)}
</body></html>"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--html", help="also write the HTML document here")
    args = parser.parse_args()
    document = build(args.version)
    if args.html:
        pathlib.Path(args.html).write_text(document, encoding="utf-8")
    out = pathlib.Path(args.out)
    partial = out.with_name(out.name + ".part")
    # base_url makes images/… and manual.css resolve inside docs/manual.
    weasyprint.HTML(string=document, base_url=str(HERE) + "/").write_pdf(str(partial))
    partial.replace(out)


if __name__ == "__main__":
    main()
