#!/usr/bin/env python3
"""Example user function for Quintor: drops the final columns that hold three consecutive
numbers (for instance 11 12 13), and keeps the others in their order.

Copy this file to write your own function. Quintor starts it in the program folder, where:
  sistema.dat  1 byte m, then m bytes: the marked numbers, increasing
  colonne.dat  4 bytes N (signed, little-endian), then N times 6 bytes: a column
It may rewrite both files in the same layout (numbers 1..90) and then, last of all, it
creates finito.ok. Without finito.ok Quintor changes nothing.
"""
import struct
import sys


def read_columns():
    with open("colonne.dat", "rb") as f:
        data = f.read()
    (count,) = struct.unpack_from("<i", data, 0)
    if count < 0 or len(data) < 4 + 6 * count:
        raise ValueError("colonne.dat non valido")
    return [tuple(data[4 + 6 * i: 10 + 6 * i]) for i in range(count)]


def write_columns(columns):
    with open("colonne.dat", "wb") as f:
        f.write(struct.pack("<i", len(columns)))
        for column in columns:
            f.write(bytes(column))


def has_three_in_a_row(column):
    numbers = sorted(column)
    return any(numbers[i] + 1 == numbers[i + 1] and numbers[i + 1] + 1 == numbers[i + 2]
               for i in range(len(numbers) - 2))


def main():
    try:
        columns = read_columns()
    except (OSError, ValueError, struct.error) as error:
        print(error, file=sys.stderr)
        return 1
    kept = [c for c in columns if not has_three_in_a_row(c)]
    write_columns(kept)
    # Last: this file tells Quintor that the results are complete.
    open("finito.ok", "w").close()
    print(f"tenute {len(kept)} colonne su {len(columns)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
