#!/usr/bin/env python3
"""Writes PosHistory.bin, the sales-history fixture of the POS tests and the seed
of its fuzz target, from the record layouts with nothing but the standard
library. The fixture is committed; this script documents how it was made."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def sale(count, title, unit_price):
    data = title.encode("utf-16-le")[: 2 * 99]
    rec = struct.pack("<IIi", 216, 2, count) + data + b"\0" * (200 - len(data))
    rec += struct.pack("<i", unit_price)
    assert len(rec) == 216
    return rec


def old_sale(count, title, unit_price):
    data = title.encode("utf-8")[:99]
    rec = struct.pack("<IIi", 116, 1, count) + data + b"\0" * (100 - len(data))
    rec += struct.pack("<i", unit_price)
    assert len(rec) == 116
    return rec


# Two sales, one of the older kind with a UTF-8 title, a record of an unknown
# kind (skipped) and a last sale.
records = [
    sale(2, "1 hora", 500),
    old_sale(1, "Café", 750),
    struct.pack("<II", 216, 3) + b"\xaa" * 208,
    sale(5, "Diária Premium", 1250),
]
with open(os.path.join(HERE, "PosHistory.bin"), "wb") as f:
    f.write(b"".join(records))
