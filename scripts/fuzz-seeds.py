#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets that read files the program
keeps or is handed, and of the camera-raw reader.

  scripts/fuzz-seeds.py          (run from anywhere; writes under fuzz/corpus/)

Pictures come from ImageMagick and exiftool.

The camera-raw seed is a DNG-style TIFF: a 32 x 32 CFA image of 8 bits (raw
readers refuse anything smaller than 22 pixels a side) whose first directory
carries a JPEG preview, made by ImageMagick, so the raw reader's preview
extraction is reached at the first run.
"""
import pathlib
import struct
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"

SHORT, LONG, ASCII, BYTE = 3, 4, 2, 1


def directory(entries, at, next_at=0):
    """One little-endian TIFF directory placed at `at`; `entries` are (tag,
    type, values), and values that do not fit in four bytes follow it."""
    entries = sorted(entries)
    extra_at = at + 2 + 12 * len(entries) + 4
    fields, extra = b"", b""
    for tag, kind, values in entries:
        if kind == ASCII:
            raw, count = values.encode() + b"\0", len(values) + 1
        else:
            fmt = {SHORT: "<H", LONG: "<I", BYTE: "<B"}[kind]
            raw, count = b"".join(struct.pack(fmt, v) for v in values), len(values)
        if len(raw) <= 4:
            field = raw.ljust(4, b"\0")
        else:
            field = struct.pack("<I", extra_at + len(extra))
            extra += raw + (b"\0" if len(raw) % 2 else b"")
        fields += struct.pack("<HHI", tag, kind, count) + field
    return struct.pack("<H", len(entries)) + fields + struct.pack("<I", next_at) + extra


def placed(parts):
    """The file of (offset, bytes) parts, in order and not overlapping."""
    out = b""
    for at, part in parts:
        assert len(out) <= at
        out = out.ljust(at, b"\0") + part
    return out


def camera_raw_seed():
    preview = subprocess.run(["convert", "-size", "16x12", "gradient:red-blue", "-quality", "80", "jpg:-"],
                             check=True, capture_output=True).stdout
    side, raw_ifd_at, pixels_at = 32, 256, 512
    pixels = bytes((x * 8 + y * 3) & 0xFF for y in range(side) for x in range(side))
    preview_at = pixels_at + len(pixels)
    # The first directory is the preview, as DNG files have it; the raw image
    # is its sub-directory.
    first = [
        (254, LONG, [1]),
        (256, LONG, [16]),
        (257, LONG, [12]),
        (258, SHORT, [8, 8, 8]),
        (259, SHORT, [7]),  # JPEG
        (262, SHORT, [6]),  # YCbCr
        (271, ASCII, "Kelmora"),
        (272, ASCII, "Seed"),
        (273, LONG, [preview_at]),
        (277, SHORT, [3]),
        (278, LONG, [12]),
        (279, LONG, [len(preview)]),
        (330, LONG, [raw_ifd_at]),
        (50706, BYTE, [1, 4, 0, 0]),  # DNG version
        (50708, ASCII, "Kelmora Seed"),
    ]
    raw = [
        (254, LONG, [0]),
        (256, LONG, [side]),
        (257, LONG, [side]),
        (258, SHORT, [8]),
        (259, SHORT, [1]),
        (262, SHORT, [32803]),  # colour filter array
        (273, LONG, [pixels_at]),
        (277, SHORT, [1]),
        (278, LONG, [side]),
        (279, LONG, [len(pixels)]),
        (33421, SHORT, [2, 2]),
        (33422, BYTE, [0, 1, 1, 2]),
    ]
    return placed([(0, b"II*\0" + struct.pack("<I", 8)), (8, directory(first, 8)),
                   (raw_ifd_at, directory(raw, raw_ifd_at)), (pixels_at, pixels), (preview_at, preview)])


def convert(*arguments):
    return subprocess.run(["convert", *arguments], check=True, capture_output=True).stdout


def photo_with_metadata(folder):
    """A JPEG with what the EXIF copy edits (orientation, GPS, serial numbers,
    image size) and an IPTC caption."""
    path = folder / "photo.jpg"
    path.write_bytes(convert("-size", "24x16", "gradient:white-green", "-quality", "70", "jpg:-"))
    subprocess.run(["exiftool", "-q", "-overwrite_original", "-Orientation#=6", "-Make=Kelmora", "-Model=Seed",
                    "-SerialNumber=12345", "-LensSerialNumber=678", "-GPSLatitude=47.5", "-GPSLatitudeRef=N",
                    "-GPSLongitude=13.1", "-GPSLongitudeRef=E", "-ExifImageWidth=24", "-ExifImageHeight=16",
                    "-Caption-Abstract=A harbour", "-Keywords=boat", str(path)], check=True)


def qt_string(text):
    data = text.encode("utf-16-be")
    return struct.pack(">I", len(data)) + data


SETTINGS = r"""[Software\Kelmora\Vistrel]
"FullScreenInfo"=dword:00000001
"SlideshowDelay"=dword:00000005
"SmtpServer"="smtp://mail.example.org:25"
"MailTo"="ann@example.org; bob@example.org"
"MailSubject"="Photos \"Harbour\""
"MailResample"=dword:00000001
"Window"=hex:01,ff,20

[Software\Kelmora\Vistrel\TexRep]
"CaseSensitive"=dword:00000000
"FindText0"="Copyright 2003"

[Software\Kelmora\Vistrel\MailPlainLogin]
"smtp://mail.example.org:25"=dword:00000001
"""


def seeds():
    """The seed files of each target, by name."""
    cache_entry = convert("-size", "200x150", "gradient:red-yellow", "-quality", "80", "jpg:-")
    return {
        "image_camera_raw_fuzzer": {"preview.dng": camera_raw_seed()},
        "single_instance_fuzzer": {
            "two.bin": struct.pack(">I", 2) + qt_string("--folder") + qt_string("/home/ann/Photos/Hafen 2003"),
            "none.bin": struct.pack(">I", 0),
        },
        "settings_store_fuzzer": {"settings.reg": SETTINGS.encode(), "damaged.reg": b"[Software\\Kelmora\n\"x\"=\n"},
        "mail_inputs_fuzzer": {"email.idx": b"ann@example.org\r\nb\xf6b@example.org\r\n\r\nc@example.org; d@example.org\n"},
        "thumbnail_cache_fuzzer": {"current.jpg": b"\0" + cache_entry, "older.jpg": b"\1" + cache_entry},
        "text_search_fuzzer": {
            "phrase.bin": b"\x05Photo<html><title>PHOTOS of 2003</title><p>photo</p></html>",
            "masks.bin": b"\x0a*.htm;img?*<img src=\"img1.jpg\">",
        },
        "text_replace_fuzzer": {
            # Case-insensitive whole words, "img" by "pic", CR LF lines.
            "words.bin": bytes([2 | (3 << 2), 3]) + b"imgpic<img src=img.jpg>\r\nIMG_1 img\r\n",
            "same.bin": bytes([1 | (4 << 2), 0x80]) + b"2003Copyright 2003, 2003\n",
        },
    }


def main():
    for target, files in seeds().items():
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in files.items():
            (folder / name).write_bytes(data)
    folder = CORPUS / "exif_copy_fuzzer"
    folder.mkdir(parents=True, exist_ok=True)
    photo_with_metadata(folder)


if __name__ == "__main__":
    main()
