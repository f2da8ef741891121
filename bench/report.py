"""Prints a benchmark's table and keeps it as Markdown in bench/results/<name>.md."""

import os

RESULTS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "results")


def markdown_table(headers, rows):
    cells = [list(map(str, headers))] + [list(map(str, row)) for row in rows]
    widths = [max(len(row[column]) for row in cells) for column in range(len(headers))]

    def line(row):
        return "| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |"

    rule = "|" + "|".join("-" * (width + 2) for width in widths) + "|"
    return "\n".join([line(cells[0]), rule] + [line(row) for row in cells[1:]])


def publish(name, title, tables, notes=()):
    """tables: (headers, rows) pairs; notes: lines printed below them."""
    parts = [f"### {title}"] + [markdown_table(*table) for table in tables] + list(notes)
    text = "\n\n".join(parts) + "\n"
    print(text, flush=True)
    os.makedirs(RESULTS_DIR, exist_ok=True)
    with open(os.path.join(RESULTS_DIR, name + ".md"), "w", encoding="utf-8") as result:
        result.write(text)
