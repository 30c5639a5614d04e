#!/usr/bin/env bash
# Builds two corpora from source trees already on the machine: small/ (files under 64 KiB)
# and big/ (64 KiB and more). Only NUL-free UTF-8 text is copied, and no name that Trawlit
# passes over (dot names, .gif/.jpg/.bmp/.obj), so every tool reads exactly the same files.
# Usage: make-corpus.sh DEST [SOURCE...]
set -euo pipefail
dest=${1:?destination folder}
shift
sources=("$@")
[ ${#sources[@]} -gt 0 ] || sources=(/usr/include /usr/share/fpcsrc /usr/lib/google-cloud-sdk/lib)
mkdir -p "$dest/small" "$dest/big"
python3 - "$dest" "${sources[@]}" <<'PY'
import os, shutil, sys
dest, sources = sys.argv[1], sys.argv[2:]
split = 64 * 1024
def admitted(name):
    low = name.lower()
    return not name.startswith(".") and not any(p in low for p in (".gif", ".jpg", ".bmp", ".obj"))
counts = {"small": 0, "big": 0}
for source in sources:
    if not os.path.isdir(source):
        continue
    top = source.strip("/").replace("/", "_")
    for folder, subfolders, names in os.walk(source):
        subfolders[:] = [d for d in subfolders if admitted(d) and not os.path.islink(os.path.join(folder, d))]
        for name in names:
            path = os.path.join(folder, name)
            if not admitted(name) or os.path.islink(path) or not os.path.isfile(path):
                continue
            data = open(path, "rb").read()
            try:
                data.decode("utf-8")
            except UnicodeDecodeError:
                continue
            if b"\0" in data:
                continue
            kind = "small" if len(data) < split else "big"
            target = os.path.join(dest, kind, top, os.path.relpath(path, source))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(path, target)
            counts[kind] += 1
print(f"small: {counts['small']} files, big: {counts['big']} files")
PY
