"""Checks the delivered archive template with openpyxl as an independent reader."""
import sys

from openpyxl import load_workbook

path = sys.argv[1]
book = load_workbook(path)
sheet = book.worksheets[0]
problems = []
if not book.template:
    problems.append("not saved as a template (.xltx content type)")
if not sheet["J2"].value:
    problems.append("no label beside the serial number cell K2")
if sheet["K2"].value is not None:
    problems.append("K2 must be left for the serial number")
for cell, wanted in (("B11", "0"), ("C12", "dd.mm.yy"), ("D12", "hh:mm")):
    if sheet[cell].number_format != wanted:
        problems.append(f"{cell} number format {sheet[cell].number_format!r}, wanted {wanted!r}")
for row in sheet.iter_rows(min_row=11):
    for cell in row:
        if cell.value is not None:
            problems.append(f"{cell.coordinate} is not empty; rows from 11 receive the archive")
if problems:
    print("\n".join(problems))
    sys.exit(1)
