#!/usr/bin/env python3
"""Writes a VersionInfo.ini: version-info.py <file> <Module>=<version>...

Each module gets a section with Version and Key; the Key is what the updater
writes: Base32 (no padding) of the SHA-1 digest of the UTF-16LE text
"<module>-<version>", with the bytes of each 32-bit group of the digest
reversed.
"""
import base64
import hashlib
import sys


def key(section, version):
    digest = hashlib.sha1(f"{section}-{version}".encode("utf-16-le")).digest()
    swapped = b"".join(digest[i:i + 4][::-1] for i in range(0, 20, 4))
    return base64.b32encode(swapped).decode("ascii").rstrip("=")


def main():
    path, modules = sys.argv[1], sys.argv[2:]
    lines = []
    for item in modules:
        name, version = item.split("=", 1)
        lines += [f"[{name}]", f"Version={version}", f"Key={key(name, version)}", ""]
    with open(path, "w", encoding="ascii", newline="\r\n") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
