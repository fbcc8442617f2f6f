#!/usr/bin/env python3
"""Writes the winget manifest set and the Scoop manifest of one release next to its zip.

    write-manifests.py ZIP VERSION [--url URL] [--homepage URL]

The templates beside this script get the version, the zip's download address and its SHA-256;
the winget files land in winget/ beside the zip, the Scoop manifest as scoop/mistlewick.json.
URL may hold {version} and {zip}, filled with the version and the zip's file name.
"""
import argparse
import hashlib
import pathlib
import re
import sys

HERE = pathlib.Path(__file__).resolve().parent
DEFAULT_HOMEPAGE = "https://github.com/mistlewick/mistlewick"
DEFAULT_URL = DEFAULT_HOMEPAGE + "/releases/download/v{version}/{zip}"


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def fill(template, values):
    text = template.read_text(encoding="utf-8")
    for key, value in values.items():
        text = text.replace("@" + key + "@", value)
    left = re.findall(r"@[A-Z0-9_]+@", text)
    if left:
        raise SystemExit(f"{template.name}: nothing fills {', '.join(sorted(set(left)))}")
    return text


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("zip", type=pathlib.Path)
    parser.add_argument("version")
    parser.add_argument("--url", default=DEFAULT_URL)
    parser.add_argument("--homepage", default=DEFAULT_HOMEPAGE)
    args = parser.parse_args(argv)

    # Winget and Scoop both compare dotted numbers; anything else would sort wrongly on update.
    if not re.fullmatch(r"\d+(\.\d+){0,3}", args.version):
        raise SystemExit(f"version {args.version!r} is not up to four dotted numbers")
    if not args.zip.is_file():
        raise SystemExit(f"{args.zip}: no such file (build it with cpack first)")
    sha = sha256_of(args.zip)
    values = {
        "VERSION": args.version,
        "SHA256": sha,
        "SHA256_LOWER": sha.lower(),
        "URL": args.url.format(version=args.version, zip=args.zip.name),
        "HOMEPAGE": args.homepage,
    }
    out = args.zip.resolve().parent
    for kind in ("winget", "scoop"):
        folder = out / kind
        folder.mkdir(exist_ok=True)
        for old in folder.iterdir():
            old.unlink()  # files of an earlier version must not linger in the set
        for template in sorted((HERE / kind).glob("*.in")):
            target = folder / template.name[: -len(".in")]
            target.write_text(fill(template, values), encoding="utf-8", newline="\n")
            print(f"wrote {target}")
    print(f"SHA-256 {sha}  {args.zip.name}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
