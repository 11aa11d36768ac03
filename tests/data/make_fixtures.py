#!/usr/bin/env python3
"""Writes the hand-made fixtures of this folder from the record layouts, with
nothing but the standard library, so the program's readers and writers are
checked against an independent rendering of the formats. Run it from anywhere;
the fixtures are committed, this script documents how they were made."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def utf16_field(text, units):
    data = text.encode("utf-16-le")[: 2 * (units - 1)]
    return data + b"\0" * (2 * units - len(data))


def ansi_field(text, size):
    data = text.encode("cp1252")[: size - 1]
    return data + b"\0" * (size - len(data))


def router(name, address, port, user, password, admin, hs, um, mac):
    rec = struct.pack("<II", 1420, 1)
    rec += utf16_field(name, 100) + utf16_field(address, 100) + utf16_field(port, 100)
    rec += utf16_field(user, 100) + utf16_field(password, 100)
    rec += b"\0" * 200 + utf16_field(admin, 100) + b"\0" * 8
    rec += bytes([hs, um, mac, 0])
    assert len(rec) == 1420
    return rec


def profile3(name, validity, uptime, rprofile, server, bin_, bout, btotal, price):
    rec = struct.pack("<II", 1228, 3) + utf16_field(name, 100)
    rec += struct.pack("<qq", validity, uptime)
    for t in (rprofile, server, bin_, bout, btotal):
        rec += utf16_field(t, 100)
    rec += struct.pack("<i", price)
    assert len(rec) == 1228
    return rec


def profile2(name, validity, uptime, rprofile, server, bin_, bout, btotal, price):
    rec = struct.pack("<II", 628, 2) + ansi_field(name, 100)
    rec += struct.pack("<qq", validity, uptime)
    for t in (rprofile, server, bin_, bout, btotal):
        rec += ansi_field(t, 100)
    rec += struct.pack("<i", price)
    assert len(rec) == 628
    return rec


def profile1(name, validity, uptime, rprofile, bin_, bout, btotal, price):
    rec = struct.pack("<II", 528, 1) + ansi_field(name, 100)
    rec += struct.pack("<qq", validity, uptime)
    for t in (rprofile, bin_, bout, btotal):
        rec += ansi_field(t, 100)
    rec += struct.pack("<i", price)
    assert len(rec) == 528
    return rec


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


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


ROUTERS = [
    router("Café Central", "192.168.88.1", "8728", "api", "s3cr\u00e9t", "admin", 1, 1, 0),
    router("Hotel Mar", "hotspot.example.net", "8729", "operador", "", "", 1, 0, 1),
]
write("Routers.bin", b"".join(ROUTERS))
# A record of a type Routers.bin does not know (2), of the old hotspot size,
# between the two routers: it is skipped.
write("Routers-unknown-type.bin", ROUTERS[0] + struct.pack("<II", 628, 2) + b"\x55" * 620 + ROUTERS[1])

PROFILES = [
    profile3("1 hora", 3600, 3600, "default", "", "", "", "", 500),
    profile3("Diária Premium", 86400, 0, "premium", "hotspot1", "100M", "200M", "1G", 1250),
]
write("HotSpotProfiles.bin", b"".join(PROFILES))
# Older records: type 1 (no server) and type 2, with Windows-1252 texts.
write("HotSpotProfiles-legacy.bin",
      profile1("Diária", 86400, 7200, "padrão", "", "", "", 1000)
      + profile2("Semana \u20ac", 604800, 0, "semana", "hs-café", "1M", "2M", "3M", 3000))

NAMES = ["maria", "", "José da Silva", "quarto 12"]
write("UserDatabase.bin", b"".join(struct.pack("<H", 2 * len(n)) + n.encode("utf-16-le") for n in NAMES))

USERS = [("", "", True, False, False), ("caixa", "1234", False, True, True)]
write("UsersData.bin", users_data(USERS))

# A key as regedit exports it: UTF-16LE with a byte-order mark, CRLF, other keys
# around it, hex values wrapped over several lines.
lines = [
    "Windows Registry Editor Version 5.00",
    "",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems]",
    "",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]",
]
lines += reg_hex("UsersData", users_data(USERS + [("gerente com um nome longo", "senha-muito-longa-123", True, False, True)]))
lines += [
    '"GenerateUserPrefix"="um"',
    '"CreateRandomUserName"=dword:00000000',
    '"UseUserDatabase"=dword:00000001',
    '"VerifyCreatedUser"=dword:00000001',
    '"CreateRandomPassword"=dword:00000000',
    '"UseOnlyNumbers"=dword:00000001',
    '"QueryPassword"=dword:00000001',
    '"QueryUserData"=dword:00000001',
    '"GenerateHotSpotUserPrefix"="hs\\\\\\"x"',
]
lines += reg_hex("HotSpotScheduleInterval", struct.pack("<q", 900))
lines += [
    '"MinimizeToTray"=dword:00000000',
    '"GenerateUserSize"=dword:00000008',
    '"UseCurrency"="R$ %c"',
    '"GeneratePasswordSize"=dword:00000004',
    '"VoucherSerial"=dword:0001e240',
    '"AutoPrint"=dword:00000000',
    '"ExtraValueOfAnotherVersion"="kept"',
    "",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer\\Window]",
    '"GenerateUserPrefix"="not this key"',
    "",
]
write("settings-export-utf16.reg", b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))

# An old installation: no program users, no routers; the legacy values seed them.
legacy = [
    "Windows Registry Editor Version 5.00",
    "",
    "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]",
    '"MikrotikAddress"="10.0.0.1"',
    '"MikrotikApiPort"="8000"',
]
legacy += reg_hex("MikrotikUser", scramble("gestor"))
legacy += reg_hex("MikrotikPassword", scramble("pw-A"))
legacy += reg_hex("MikrotikCustomer", scramble("cliente"))
legacy += [
    '"MacBinding"=dword:00000001',
    '"EnableUserManager"=dword:00000001',
    '"OneRouter"=dword:00000000',
    '"MikrotikHotSpotAddress"="10.0.0.2"',
    '"MikrotikHotSpotApiPort"="8001"',
]
legacy += reg_hex("MikrotikHotSpotUser", scramble("hsuser"))
legacy += reg_hex("MikrotikHotSpotPassword", scramble("pw-B"))
legacy += reg_hex("UserName", scramble("dono"))
legacy += reg_hex("UserPassword", scramble("senha"))
legacy += [""]
write("settings-legacy.reg", "\n".join(legacy).encode("utf-8"))


def api_length(n):
    if n < 0x80:
        return bytes([n])
    if n < 0x4000:
        return bytes([0x80 | n >> 8, n & 0xFF])
    if n < 0x200000:
        return bytes([0xC0 | n >> 16, n >> 8 & 0xFF, n & 0xFF])
    return bytes([0xE0 | n >> 24, n >> 16 & 0xFF, n >> 8 & 0xFF, n & 0xFF])


def api_sentence(*words):
    out = b""
    for w in words:
        w = w.encode("utf-8")
        out += api_length(len(w)) + w
    return out + b"\0"


# A router's side of a session: a challenge, a login, a print, a trap, a quit.
write("api-session.bin",
      b"\x10"
      + api_sentence("!done", "=ret=0123456789abcdef0123456789abcdef")
      + api_sentence("!done")
      + api_sentence("!re", "=.id=*1", "=name=usrab12cd", "=comment=261231235959", "=profile=default")
      + api_sentence("!re", "=.id=*2", "=name=usr" + "x" * 200)
      + api_sentence("!done")
      + api_sentence("!trap", "=message=failure: already have user with this name")
      + api_sentence("!done")
      + api_sentence("!fatal", "=message=session terminated on request"))


# Voucher designs. Lengths in tenths of a millimetre, colours as COLORREF.
def design31(name, width, height, margin, copies, printer, fill):
    rec = struct.pack("<IIiiiB3x", 428, 31, width, height, margin, copies)
    rec += utf16_field(name, 100) + utf16_field(printer, 100) + struct.pack("<B3x", fill)
    assert len(rec) == 428
    return rec


def graphic32(source, kind, symbology, border, x, y, w, h, attributes, colour):
    rec = struct.pack("<II", 436, 32) + utf16_field(source, 200)
    rec += struct.pack("<HBBiiiiII", kind, symbology, border, x, y, w, h, attributes, colour)
    assert len(rec) == 436
    return rec


def text33(text, face, size, bold, italic, colour, align, rotation, x, y):
    rec = struct.pack("<II", 432, 33) + utf16_field(text, 100) + utf16_field(face, 100)
    rec += struct.pack("<iBB2xIBB2xii", size, bold, italic, colour, align, rotation, x, y)
    assert len(rec) == 432
    return rec


def design11(name, width, height, margin, printer, fill):
    rec = struct.pack("<IIiiiI", 228, 11, width, height, margin, 0xDEADBEEF)
    rec += ansi_field(name, 100) + ansi_field(printer, 100) + struct.pack("<B3x", fill)
    assert len(rec) == 228
    return rec


def graphic12(source, word, x, y, w, h, attributes, colour):
    rec = struct.pack("<II", 236, 12) + ansi_field(source, 200)
    rec += struct.pack("<IiiiiII", word, x, y, w, h, attributes, colour)
    assert len(rec) == 236
    return rec


def text13(text, face, size, bold, italic, colour, align, rotation, x, y):
    rec = struct.pack("<II", 232, 13) + ansi_field(text, 100) + ansi_field(face, 100)
    rec += struct.pack("<iBB2xIBB2xii", size, bold, italic, colour, align, rotation, x, y)
    assert len(rec) == 232
    return rec


def design1(name, width, height, margin, background):
    rec = struct.pack("<IIiiiI", 324, 1, width, height, margin, 0x01020304)
    rec += ansi_field(name, 100) + ansi_field(background, 200)
    assert len(rec) == 324
    return rec


def font2(number, face, size, bold, italic):
    rec = struct.pack("<III", 120, 2, number) + ansi_field(face, 100)
    rec += struct.pack("<iBB2x", size, bold, italic)
    assert len(rec) == 120
    return rec


def text3(text, font, colour, align, rotation, x, y):
    rec = struct.pack("<II", 128, 3) + ansi_field(text, 100)
    rec += struct.pack("<IIBB2xii", font, colour, align, rotation, x, y)
    assert len(rec) == 128
    return rec


# Two designs: one with an image, a line, a barcode and two texts, one empty.
CAFE = (design31("Café", 856, 540, 50, 2, "Impressora Térmica", 0)
        + graphic32("C:\\imagens\\fundo.bmp", 0, 0, 0, 0, 0, 856, 540, 1, 0)
        + graphic32("", 1, 0, 0, 10, 500, 836, 0, 2, 0x0000FF)
        + graphic32("${user}", 255, 58, 2, 600, 300, 200, 200, (3 << 24) | 0xFFFFFF, 0x102030)
        + text33("Usuário: ${user}", "Arial", 20, 1, 0, 0x800000, 0, 0, 50, 100)
        + text33("${price}", "Courier New", 28, 0, 1, 0x00FF00, 1, 1, -5, 450))
VAZIO = design31("Vazio", 0, 0, 0, 1, "", 1)
write("Voucher.bin", CAFE + VAZIO)

# The second generation: 8-bit texts, no copies.
write("Voucher-old.bin",
      design11("Antigo é", 840, 540, 100, "HP LaserJet", 1)
      + graphic12("fundo antigo.bmp", 0, 0, 0, 840, 540, 1, 0)
      + graphic12("${serial}", 255 | (20 << 16) | (1 << 24), 100, 200, 300, 80, 0xFFFFFF, 0)
      + text13("Preço: ${price}", "Times New Roman", 24, 1, 1, 0x123456, 2, 3, 420, 30))

# The first generation: fonts by number, per design. Font 1 is of the first
# design only, so the second design's text finds no font.
write("Voucher-first.bin",
      design1("Primeiro", 800, 500, 20, "")
      + font2(1, "Verdana", 20, 1, 0)
      + text3("Olá ${user}", 1, 0x800000, 2, 0, 400, 50)
      + font2(7, "Tahoma", 15, 0, 1)
      + text3("${password}", 7, 0, 1, 1, 700, 200)
      + text3("sem fonte", 99, 0x00FF00, 0, 0, 10, 10)
      + design1("Segundo", 840, 540, 100, "c:\\fundos\\cartão.bmp")
      + text3("${profile}", 1, 0, 0, 0, 100, 100))


def map_record(kind, title, design):
    rec = struct.pack("<II", 408, kind) + utf16_field(title, 100) + utf16_field(design, 100)
    assert len(rec) == 408
    return rec


def utf8_field(text, size):
    data = text.encode("utf-8")[: size - 1]
    return data + b"\0" * (size - len(data))


def old_map_record(kind, title, design):
    rec = struct.pack("<II", 208, kind) + utf8_field(title, 100) + utf8_field(design, 100)
    assert len(rec) == 208
    return rec


# A router's map: a User Manager and a hotspot profile of the same title, a
# profile without a design, and a record of a type maps do not hold.
write("VoucherMap-router.bin",
      map_record(15, "1 dia", "Vazio")
      + map_record(16, "1 dia", "café")
      + struct.pack("<II", 16, 9) + b"\x77" * 8
      + map_record(16, "Semana", ""))
# The older map common to all routers: UTF-8 texts.
write("VoucherMap-common.bin",
      old_map_record(5, "Diária", "Café")
      + old_map_record(6, "1 hora", "Vazio"))


def bitmap_record(data):
    return struct.pack("<III", 12, 22, len(data)) + data


# An exchange file: two images with their bitmaps, a record of a type the
# importer does not know, the built-in picture (never embedded) and a text.
BITMAP_A = b"BM" + bytes(range(40))
BITMAP_B = b"BM" + b"\xff" * 5000
write("design.tkd",
      design31("Compartilhado", 840, 540, 100, 3, "", 1)
      + graphic32("C:\\Users\\caixa\\logo.bmp", 0, 0, 0, 10, 10, 200, 100, 1, 0)
      + bitmap_record(BITMAP_A)
      + struct.pack("<II", 20, 40) + b"\x00" * 12
      + graphic32("<Padrão>", 0, 0, 0, 0, 0, 840, 540, 1, 0)
      + graphic32("D:\\foto.bmp", 0, 0, 0, 500, 10, 300, 300, 1, 0)
      + bitmap_record(BITMAP_B)
      + text33("${user}", "Arial", 18, 0, 0, 0, 0, 0, 270, 229))
