#!/usr/bin/env python3
# Writes every PPD held by a driver program of the "list" / "cat URI" kind into a folder in one
# pass: the program is loaded as a module, its archive unpacked once and each file cut out of it,
# which takes seconds where one "cat" per file takes most of an hour.
#
#   extract-ppds.py DRIVER OUTDIR    -> OUTDIR/ppd/N.ppd and OUTDIR/index.tsv ("N<TAB>URI")
#
# Exits 2 when the program does not have the expected shape, so the caller can fall back to
# "cat" per file.
import importlib.machinery
import importlib.util
import lzma
import base64
import os
import sys


def main():
    driver, out = sys.argv[1], sys.argv[2]
    loader = importlib.machinery.SourceFileLoader("ppd_driver", driver)
    spec = importlib.util.spec_from_loader("ppd_driver", loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    if not hasattr(module, "load"):
        return 2
    table = module.load()
    if "ARCHIVE" not in table:
        return 2
    archive = lzma.decompress(base64.b64decode(table["ARCHIVE"].encode("ASCII")))
    name = os.path.basename(driver)
    os.makedirs(os.path.join(out, "ppd"), exist_ok=True)
    n = 0
    with open(os.path.join(out, "index.tsv"), "w") as index:
        for key in sorted(k for k in table if k != "ARCHIVE"):
            start, length, lines = table[key][0], table[key][1], table[key][2]
            data = archive[start:start + length]
            if not data or not lines:
                continue
            uri = lines[0].split('"')[1]
            n += 1
            with open(os.path.join(out, "ppd", "%d.ppd" % n), "wb") as f:
                f.write(data)
            index.write("%d\t%s:%s\n" % (n, name, uri))
            if n % 1000 == 0:
                print("PPD corpus: %d extracted" % n, flush=True)
    return 0 if n > 0 else 2


if __name__ == "__main__":
    sys.exit(main())
