#!/usr/bin/python3
"""Checks an answer that clipboard_host printed (read from standard input).

  answer_check.py text EXPECTED_FILE
      {"success": {"text": T}} with T exactly the file's UTF-8 text.
  answer_check.py html-document FRAGMENT_FILE
      {"success": {"html": D, ...}} with D a whole HTML Format document whose
      header offsets (byte counts) are consistent with D and whose fragment
      is the file's text, which the X11 bridge may end with one line feed.

Exits 0 when the check holds; otherwise prints why and exits 1.
"""
import json
import re
import sys


def success_field(name):
    answer = json.load(sys.stdin)
    value = answer.get("success")
    if not isinstance(value, dict) or not isinstance(value.get(name), str):
        raise ValueError(f"no string {name!r} in {answer}")
    return value[name]


def check_text(expected_file):
    with open(expected_file, encoding="utf-8", newline="") as f:
        expected = f.read()
    text = success_field("text")
    if text != expected:
        raise ValueError(f"text {text!r}, expected {expected!r}")


def offset(document, key):
    match = re.search(rb"^" + key + rb":(\d+)\r?$", document, re.MULTILINE)
    if not match:
        raise ValueError(f"no {key.decode()} in the header of {document!r}")
    return int(match.group(1))


def check_html_document(fragment_file):
    with open(fragment_file, "rb") as f:
        fragment = f.read()
    document = success_field("html").encode("utf-8")
    if not document.startswith(b"Version:"):
        raise ValueError(f"not an HTML Format document: {document!r}")
    start_html, end_html = offset(document, b"StartHTML"), offset(document, b"EndHTML")
    start, end = offset(document, b"StartFragment"), offset(document, b"EndFragment")
    if not start_html <= start <= end <= end_html == len(document):
        raise ValueError(f"offsets {start_html} {start} {end} {end_html} do not "
                         f"fit a document of {len(document)} bytes")
    found = document[start:end]
    if found not in (fragment, fragment + b"\n"):
        raise ValueError(f"fragment {found!r}, expected {fragment!r}")


def main(argv):
    checks = {"text": check_text, "html-document": check_html_document}
    if len(argv) != 3 or argv[1] not in checks:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        checks[argv[1]](argv[2])
    except (ValueError, json.JSONDecodeError) as error:
        print(error)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
