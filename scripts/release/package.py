#!/usr/bin/env python3
"""Packs files into a zip or a gzipped tar that are the same bytes on every run: the files in
the order given, every time stamp the commit's (SOURCE_DATE_EPOCH), no owner, fixed
permissions, and no name or time in the gzip header.

Usage: package.py zip|tar ARCHIVE NAME=FILE ...   (NAME: the name in the archive, which may
                                                  name folders: a tar holds each of them too)"""

import gzip
import io
import os
import sys
import tarfile
import time
import zipfile


def members(args):
    for arg in args:
        name, _, path = arg.partition("=")
        with open(path, "rb") as file:
            data = file.read()
        executable = os.access(path, os.X_OK)
        yield name, data, executable


def write_zip(archive, entries, epoch):
    # A zip's times are local date and time fields from 1980 on; the commit's UTC time is
    # written as it is, the same wherever the archive is made.
    stamp = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
    with zipfile.ZipFile(archive, "w") as out:
        for name, data, executable in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the permissions below are read
            info.external_attr = (0o755 if executable else 0o644) << 16
            out.writestr(info, data, compresslevel=9)


def write_tar(archive, entries, epoch):
    buffer = io.BytesIO()
    with tarfile.open(fileobj=buffer, mode="w", format=tarfile.PAX_FORMAT) as tar:
        folders = set()
        for name, data, executable in entries:
            # Each folder of a name once, before the first file in it.
            parts = name.split("/")[:-1]
            for depth in range(1, len(parts) + 1):
                folder = "/".join(parts[:depth])
                if folder not in folders:
                    folders.add(folder)
                    info = tarfile.TarInfo(folder)
                    info.type = tarfile.DIRTYPE
                    info.mtime = epoch
                    info.mode = 0o755
                    info.uid = info.gid = 0
                    info.uname = info.gname = ""
                    tar.addfile(info)
            info = tarfile.TarInfo(name)
            info.size = len(data)
            info.mtime = epoch
            info.mode = 0o755 if executable else 0o644
            info.uid = info.gid = 0
            info.uname = info.gname = ""
            tar.addfile(info, io.BytesIO(data))
    with open(archive, "wb") as raw:
        with gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=epoch, compresslevel=9) as out:
            out.write(buffer.getvalue())


def main():
    if len(sys.argv) < 4 or sys.argv[1] not in ("zip", "tar"):
        sys.exit(__doc__)
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    entries = list(members(sys.argv[3:]))
    (write_zip if sys.argv[1] == "zip" else write_tar)(sys.argv[2], entries, epoch)


if __name__ == "__main__":
    main()
