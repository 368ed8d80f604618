"""Prints what openpyxl (a reader independent of ours) finds in a workbook.

One line per cell that has a value or a style, tab-separated:
  coordinate, type (text, number, date, none), value, number format,
  left border style, horizontal alignment, wrap (0/1)
and a first line "book <template 0/1> <sheet count>". Warnings of the reader
(a part it had to mend) go to stderr and make the exit code 3.
"""
import sys
import warnings

from openpyxl import load_workbook

with warnings.catch_warnings(record=True) as caught:
    warnings.simplefilter("always")
    book = load_workbook(sys.argv[1])
sheet = book.worksheets[0]
print(f"book\t{int(book.template)}\t{len(book.worksheets)}")
for row in sheet.iter_rows():
    for cell in row:
        value = cell.value
        if value is None and not cell.has_style:
            continue
        if value is None:
            kind, text = "none", ""
        elif isinstance(value, str):
            kind, text = "text", value
        elif hasattr(value, "isoformat"):
            kind, text = "date", value.isoformat()
        else:
            kind, text = "number", repr(value)
        text = text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")
        left = cell.border.left.style if cell.border.left is not None else None
        print("\t".join([cell.coordinate, kind, text, cell.number_format,
                         str(left), str(cell.alignment.horizontal),
                         str(int(bool(cell.alignment.wrap_text)))]))
for warning in caught:
    print(warning.message, file=sys.stderr)
sys.exit(3 if caught else 0)
