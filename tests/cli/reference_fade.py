"""An independent, literal implementation of the fade rules, used to check ombrix-fade.

Written for clarity, not speed: a code table of six-character strings, a separate
CR LF replacement pass over the finished output, Python's own rounding (ties to even)
and struct to round the fraction to binary32.
"""
import struct

SEPARATORS = {0x20, 0x0D, 0x0A}


def to_f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def level_to_byte(level):
    v = level * 16
    return 255 if v == 256 else v


def interpolate(a, b, t):
    return round((b - a) * t + a)  # exact for these operands; round() ties to even


def byte_to_hex(b):
    q = round(b / 16)
    return "%02X" % level_to_byte(q)


def max_length(colours):
    s = colours - 1
    return 32766 if s == 0 else min(32766, 32767 // s)


def fade_text(units, colours, levels, font_tags, final_tag):
    """units: list of UTF-16 code units; levels: list of (r, g, b) per slot."""
    n = len(units)
    s = colours - 1
    if n > max_length(colours):
        raise ValueError("too long")
    red = [0] * 7
    green = [0] * 7
    blue = [0] * 7
    for i in range(s + 1):
        red[i], green[i], blue[i] = (level_to_byte(v) for v in levels[i])
    codes = ["\0" * 6] * (n + 1)
    for i in range(1, n + 1):
        q = to_f32((i * s) / n)
        k = int(q)
        t = q - k
        codes[i] = (byte_to_hex(interpolate(red[k], red[k + 1], t)) +
                    byte_to_hex(interpolate(green[k], green[k + 1], t)) +
                    byte_to_hex(interpolate(blue[k], blue[k + 1], t)))
    out = []
    for i in range(1, n + 1):
        ch = units[i - 1]
        pair_tail = 0xDC00 <= ch <= 0xDFFF and i > 1 and 0xD800 <= units[i - 2] <= 0xDBFF
        if codes[i] == codes[i - 1] or ch in SEPARATORS or pair_tail:
            out.append(ch)
        else:
            if font_tags == 1 and i > 1:
                out.extend(ord(c) for c in "</FONT>")
            out.extend(ord(c) for c in "<FONT COLOR=" + codes[i] + ">")
            out.append(ch)
    text = "".join(chr(c) for c in out)  # still UTF-16 units; surrogates as lone chars
    text = text.replace("\r\n", "<BR>")
    if final_tag == 1 or font_tags == 1:
        text += "</FONT> "
    return [ord(c) for c in text]


def utf16_units(s):
    data = s.encode("utf-16-le")
    return [int.from_bytes(data[i:i + 2], "little") for i in range(0, len(data), 2)]


def units_to_str(units):
    return b"".join(u.to_bytes(2, "little") for u in units).decode("utf-16-le")
