"""Screenshots of an X display: XWD capture, pixel access and PNG output (standard library only)."""

import struct
import subprocess
import time
import zlib


class Image:
    """An RGB image; pixel(x, y) gives an (r, g, b) tuple."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # bytes, 3 per pixel, row by row

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def crop(self, left, top, right, bottom):
        left, top = max(0, left), max(0, top)
        right, bottom = min(self.width, right), min(self.height, bottom)
        rows = [self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3] for y in range(top, bottom)]
        return Image(right - left, bottom - top, b"".join(rows))

    def find(self, predicate, box=None):
        """The points (x, y) inside box (left, top, right, bottom) whose colour satisfies predicate."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        left, right = max(0, left), min(self.width, right)
        points = []
        verdicts = {}  # a picture holds few distinct colours: ask the predicate once for each
        for y in range(max(0, top), min(self.height, bottom)):
            row = self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for x, colour in enumerate(zip(row[0::3], row[1::3], row[2::3]), left):
                verdict = verdicts.get(colour)
                if verdict is None:
                    verdict = verdicts[colour] = bool(predicate(colour))
                if verdict:
                    points.append((x, y))
        return points

    def difference(self, other):
        """The share of pixels that differ between two images of the same size."""
        if (self.width, self.height) != (other.width, other.height):
            return 1.0
        differing = sum(1 for i in range(0, len(self.rgb), 3) if self.rgb[i:i + 3] != other.rgb[i:i + 3])
        return differing / max(1, self.width * self.height)

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6)) +
                      chunk(b"IEND", b""))


def parse_xwd(data):
    """Decodes a ZPixmap XWD dump of a TrueColor 24- or 32-bit visual with a byte per channel in
    little-endian pixels (what Xvfb gives)."""
    fields = struct.unpack(">25I", data[:100])
    header_size, _, _, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    shifts = [(mask & -mask).bit_length() - 1 for mask in fields[14:17]]  # red, green, blue
    ncolors = fields[19]
    if bits_per_pixel not in (24, 32) or byte_order != 0 or any(s % 8 for s in shifts):
        raise ValueError("unsupported XWD layout: %d bits, byte order %d, shifts %s" %
                         (bits_per_pixel, byte_order, shifts))
    offset = header_size + ncolors * 12
    step = bits_per_pixel // 8
    out = bytearray(width * height * 3)
    # Row by row with strided slices (Wine's display reports 24 bits per pixel in lines padded to
    # 32-bit pixels).
    for y in range(height):
        row = data[offset + y * bytes_per_line:offset + y * bytes_per_line + width * step]
        for channel, shift in enumerate(shifts):
            out[y * width * 3 + channel:(y + 1) * width * 3:3] = row[shift // 8::step]
    return Image(width, height, bytes(out))


def capture(display, window=None, timeout=20):
    """The root window (or one window) of display as an Image."""
    command = ["xwd", "-silent"] + (["-id", str(window)] if window else ["-root"])
    # xwd fails now and then while Wine maps or unmaps a window: try again before giving up.
    for attempt in range(3):
        result = subprocess.run(command, env={"DISPLAY": display}, capture_output=True, timeout=timeout)
        if result.returncode == 0:
            return parse_xwd(result.stdout)
        time.sleep(0.2)
    raise subprocess.CalledProcessError(result.returncode, command, result.stdout, result.stderr)
