#!/usr/bin/python3
"""Builds the Windows Installer package of the 32-bit dosat.exe from dosat.wxs with wixl.

    make-msi.py --version 1.0.0 --source DIR --epoch SECONDS --out dosat-1.0.0-x86.msi

DIR holds dosat.exe, readme.txt, LICENSE.txt and dosat.ico. The same inputs give the same
bytes: wixl alone gives every package a random product code, a random package code and
the time of the build. Here the product code is derived from the version (a major upgrade
needs one of its own per version), the times are the given epoch, and the package code is
derived from the package's contents.
"""

import argparse
import hashlib
import pathlib
import re
import struct
import subprocess
import tempfile
import uuid

import olefile

HERE = pathlib.Path(__file__).resolve().parent
WXS = HERE / "dosat.wxs"

# The summary information: a property set in the stream "\x05SummaryInformation".
SUMMARY = "\x05SummaryInformation"
PID_TEMPLATE, PID_REVISION, PID_CREATED, PID_SAVED = 7, 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64


def upgrade_code():
    match = re.search(r'UpgradeCode="([0-9A-Fa-f-]{36})"', WXS.read_text(encoding="utf-8"))
    return uuid.UUID(match.group(1))


def properties(stream):
    """Offsets of the summary's properties in the stream: {pid: (type, offset of value)}."""
    (sections,) = struct.unpack_from("<I", stream, 24)
    if sections < 1:
        raise ValueError("summary information without a section")
    (start,) = struct.unpack_from("<I", stream, 28 + 16)
    _, count = struct.unpack_from("<II", stream, start)
    found = {}
    for i in range(count):
        pid, offset = struct.unpack_from("<II", stream, start + 8 + 8 * i)
        (kind,) = struct.unpack_from("<I", stream, start + offset)
        found[pid] = (kind & 0xFFFF, start + offset + 4)
    return found


def put_text(stream, props, pid, text):
    """Replaces a text property by one of the same length, so the stream keeps its size."""
    kind, at = props[pid]
    (size,) = struct.unpack_from("<I", stream, at)
    data = text.encode("ascii") + b"\0"
    if kind != VT_LPSTR or len(data) != size:
        raise ValueError(f"summary property {pid}: {size} bytes, not {len(data)}")
    stream[at + 4 : at + 4 + size] = data


def put_time(stream, props, pid, epoch):
    kind, at = props[pid]
    if kind != VT_FILETIME:
        raise ValueError(f"summary property {pid} is not a time")
    filetime = (epoch + 11644473600) * 10_000_000  # 100 ns steps since 1601
    struct.pack_into("<Q", stream, at, filetime)


def fix_summary(msi, epoch, template):
    with olefile.OleFileIO(str(msi), write_mode=True) as ole:
        stream = bytearray(ole.openstream(SUMMARY).read())
        props = properties(stream)
        put_text(stream, props, PID_TEMPLATE, template)
        put_time(stream, props, PID_CREATED, epoch)
        put_time(stream, props, PID_SAVED, epoch)
        # The package code names these exact bytes: taken from them, with the code zeroed.
        put_text(stream, props, PID_REVISION, "{%s}" % uuid.UUID(int=0))
        ole.write_stream(SUMMARY, bytes(stream))
    digest = hashlib.sha256(msi.read_bytes()).digest()
    package_code = uuid.UUID(bytes=digest[:16], version=4)
    with olefile.OleFileIO(str(msi), write_mode=True) as ole:
        put_text(stream, props, PID_REVISION, "{%s}" % str(package_code).upper())
        ole.write_stream(SUMMARY, bytes(stream))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--source", required=True, type=pathlib.Path)
    parser.add_argument("--epoch", required=True, type=int)
    parser.add_argument("--out", required=True, type=pathlib.Path)
    args = parser.parse_args()

    product_code = uuid.uuid5(upgrade_code(), f"dosat {args.version} x86")
    with tempfile.TemporaryDirectory() as scratch:
        built = pathlib.Path(scratch) / "dosat.msi"
        subprocess.run(
            ["wixl", "--arch", "x86",
             "--define", f"Version={args.version}",
             "--define", f"ProductCode={str(product_code).upper()}",
             "--define", "SourceDir=.",
             "--output", str(built), str(WXS)],
            cwd=args.source, check=True)  # wixl takes no absolute source paths
        # Windows Installer takes the product's language from here too: Japanese, as
        # the Product element says (wixl writes 1033 whatever it says).
        fix_summary(built, args.epoch, "Intel;1041")
        args.out.write_bytes(built.read_bytes())


if __name__ == "__main__":
    main()
