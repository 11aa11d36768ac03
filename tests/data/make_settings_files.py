#!/usr/bin/env python3
"""Writes the settings files of the tests that check a save keeps what it does
not understand, and what each must look like after the save, with nothing but
the standard library. The bytes after a save are written out by hand here, line
by line, from what the save is asked to change; they are not made by the
program. Run it from anywhere; the files are committed, this script documents
how they were made.

settings-kept.reg / settings-kept-saved.reg
    UTF-8 with CRLF line ends: a comment, another key before the program's key,
    a comment, an unknown line and an unreadable value inside it, a wrapped hex
    value, a subkey after it. "-saved" is the file after saveSettings with the
    settings and users the test gives (see SettingsTest::saveKeepsWhatItDoesNotKnow).
settings-regedit4.reg / settings-regedit4-saved.reg
    A REGEDIT4 file as regedit writes it: Windows-1252, CRLF, "ç" as 0xE7, and
    in a subkey a hex(2) text as 8-bit bytes. "-saved" is the file after
    saveSettings (see SettingsTest::regedit4KeepsItsForm).
settings-utf16le-nobom.reg, settings-utf16be.reg, settings-utf16be-nobom.reg
    The same small key in UTF-16 without a byte-order mark and big-endian.
settings-utf32.reg
    A registry export in UTF-32LE with its byte-order mark: not an encoding of
    registry exports, so it is left alone.
settings-random.bin
    Bytes from a seeded generator: not a registry export at all.
"""

import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

KEY = "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]"


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def scramble(text):
    out = bytearray([0xFF])
    prev = 0x4B1D
    for k, ch in enumerate(text[:199]):
        d = (ord(ch) + 2 * k + 0x2D6F) % 65536
        out += struct.pack("<H", (d + prev) % 65536)
        prev = d
    return bytes(out)


def users_data(users):
    out = b""
    for name, password, access, pos, full in users:
        flags = (2 if access else 1) | (4 if pos else 0) | (8 if full else 0)
        out += struct.pack("<H", flags)
        for t in (name, password):
            s = scramble(t)
            out += struct.pack("<H", len(s)) + s
    return out


def reg_hex(name, data, kind="hex"):
    """regedit's layout: lines of at most 80 characters, continued with a
    backslash and two blanks of indentation."""
    line = '"%s"=%s:' % (name, kind)
    lines = []
    for i, b in enumerate(data):
        piece = "%02x" % b + ("," if i + 1 < len(data) else "")
        if len(line) + len(piece) > 78 and i + 1 < len(data):
            lines.append(line + "\\")
            line = "  "
        line += piece
    lines.append(line)
    return lines


# The program users the save tests store: the first with an empty name who may
# open the setup, and a cashier.
USERS = [("", "", True, False, False), ("caixa", "1234", False, True, True)]

# --- Kept content, UTF-8 ---------------------------------------------------

KEPT_HEAD = [
    "Windows Registry Editor Version 5.00",
    "",
    "; Configurações do balcão 2, editadas à mão",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems]",
    '"Installer"="1.0"',
    "",
    KEY,
]
# The program's key as it was. The serial is written in capitals and the
# interval wrapped: both are saved unchanged, so their lines stay as they are.
KEPT_KEY_BEFORE = [
    '"GenerateUserPrefix"="velho"',
    "; o número do próximo voucher",
    '"VoucherSerial"=dword:0000002A',
    "linha que não é um valor",
    '"GenerateUserSize"=dword:zz',
    '"MinimizeToTray"=dword:00000001',
    '"ExtraValueOfAnotherVersion"="kept"',
    '"HotSpotScheduleInterval"=hex:58,02,00,\\',
    "  00,00,00,00,00",
    '"AutoPrint"=dword:00000000',
]
KEPT_TAIL = [
    "",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer\\Window]",
    '"GenerateUserPrefix"="not this key"',
    '"Left"=dword:00000010',
    "",
]
write("settings-kept.reg", "\r\n".join(KEPT_HEAD + KEPT_KEY_BEFORE + KEPT_TAIL).encode("utf-8"))

# saveSettings with the defaults but GenerateUserPrefix "novo" and VoucherSerial
# 42, and USERS: the prefix is replaced where it stood, and so is the
# unreadable GenerateUserSize, whose line names it (the key holds each value
# once); the values the key did not hold follow its last value, in the order
# the save writes them.
kept_key_after = list(KEPT_KEY_BEFORE)
kept_key_after[0] = '"GenerateUserPrefix"="novo"'
assert kept_key_after[4] == '"GenerateUserSize"=dword:zz'
kept_key_after[4] = '"GenerateUserSize"=dword:00000006'
kept_key_after += reg_hex("UsersData", users_data(USERS))
kept_key_after += [
    '"CreateRandomUserName"=dword:00000001',
    '"UseUserDatabase"=dword:00000000',
    '"VerifyCreatedUser"=dword:00000000',
    '"CreateRandomPassword"=dword:00000001',
    '"UseOnlyNumbers"=dword:00000000',
    '"QueryPassword"=dword:00000000',
    '"QueryUserData"=dword:00000000',
    '"GenerateHotSpotUserPrefix"="usr"',
    '"UseCurrency"="\u20ac"',
    '"GeneratePasswordSize"=dword:00000006',
    '"HistoryDatabase"=""',
]
write("settings-kept-saved.reg", "\r\n".join(KEPT_HEAD + kept_key_after + KEPT_TAIL).encode("utf-8"))

# --- REGEDIT4, Windows-1252 --------------------------------------------------

# "%USERPROFILE%\cartão" with its NUL, as the 8-bit bytes REGEDIT4 gives a
# REG_EXPAND_SZ in.
MODELS = "%USERPROFILE%\\cartão\0".encode("cp1252")
R4_HEAD = ["REGEDIT4", "", KEY]
R4_KEY_BEFORE = [
    '"GenerateUserPrefix"="açaí"',
    '"UseCurrency"="R$ %c"',
    '"GenerateHotSpotUserPrefix"="hs"',
    '"VoucherSerial"=dword:00000010',
]
R4_TAIL = [
    "",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer\\Caminhos]",
] + reg_hex("Modelos", MODELS, "hex(2)") + [""]
write("settings-regedit4.reg", "\r\n".join(R4_HEAD + R4_KEY_BEFORE + R4_TAIL).encode("cp1252"))

# saveSettings with what was read, but UseCurrency "€ %c" and VoucherSerial 17,
# and USERS: still REGEDIT4 in Windows-1252 ("€" is 0x80 there).
r4_key_after = list(R4_KEY_BEFORE)
r4_key_after[1] = '"UseCurrency"="\u20ac %c"'
r4_key_after[3] = '"VoucherSerial"=dword:00000011'
r4_key_after += reg_hex("UsersData", users_data(USERS))
r4_key_after += [
    '"CreateRandomUserName"=dword:00000001',
    '"UseUserDatabase"=dword:00000000',
    '"VerifyCreatedUser"=dword:00000000',
    '"CreateRandomPassword"=dword:00000001',
    '"UseOnlyNumbers"=dword:00000000',
    '"QueryPassword"=dword:00000000',
    '"QueryUserData"=dword:00000000',
]
r4_key_after += reg_hex("HotSpotScheduleInterval", struct.pack("<q", 600))
r4_key_after += [
    '"MinimizeToTray"=dword:00000001',
    '"GenerateUserSize"=dword:00000006',
    '"GeneratePasswordSize"=dword:00000006',
    '"HistoryDatabase"=""',
]
write("settings-regedit4-saved.reg", "\r\n".join(R4_HEAD + r4_key_after + R4_TAIL).encode("cp1252"))

# --- Other encodings ---------------------------------------------------------

SMALL = "\r\n".join([
    "Windows Registry Editor Version 5.00",
    "",
    KEY,
    '"GenerateUserPrefix"="ñandú"',
    '"VoucherSerial"=dword:00000063',
    "",
])
write("settings-utf16le-nobom.reg", SMALL.encode("utf-16-le"))
write("settings-utf16be.reg", b"\xfe\xff" + SMALL.encode("utf-16-be"))
write("settings-utf16be-nobom.reg", SMALL.encode("utf-16-be"))
write("settings-utf32.reg", b"\xff\xfe\x00\x00" + SMALL.encode("utf-32-le"))
write("settings-random.bin", random.Random(20240601).randbytes(512))
