#!/usr/bin/env python3
"""Writes tests/data/serial_dates.txt: every 1000th serial day (and the last one) with the
calendar date Python's datetime gives for 28 December 1800 plus that many days."""
import datetime
import pathlib

ORIGIN = datetime.date(1800, 12, 28)
FIRST, LAST = 4, 2994626

def main():
    out = pathlib.Path(__file__).resolve().parents[2] / "data" / "serial_dates.txt"
    serials = list(range(FIRST, LAST + 1, 1000))
    if serials[-1] != LAST:
        serials.append(LAST)
    with out.open("w") as f:
        f.write("# serial year month day\n")
        for s in serials:
            d = ORIGIN + datetime.timedelta(days=s)
            f.write(f"{s} {d.year} {d.month} {d.day}\n")

if __name__ == "__main__":
    main()
