#!/usr/bin/python3
"""Checks that each Windows program named can be loaded anywhere in a 64-bit address space (high
entropy ASLR: a movable base with its relocations kept, large addresses) and runs with DEP, with
no section both writable and executable.

    scripts/windows-pe-check.py PROGRAM.exe...
"""
import sys

import pefile


def faults(path):
    image = pefile.PE(path, fast_load=True)
    header = image.FILE_HEADER
    optional = image.OPTIONAL_HEADER
    marks = {
        "high entropy ASLR": optional.IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA,
        "a movable base": optional.IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE,
        "DEP": optional.IMAGE_DLLCHARACTERISTICS_NX_COMPAT,
        "large addresses": header.IMAGE_FILE_LARGE_ADDRESS_AWARE,
    }
    found = [f"not marked for {mark}" for mark, marked in marks.items() if not marked]
    relocations = optional.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if header.IMAGE_FILE_RELOCS_STRIPPED or relocations.Size == 0:
        found.append("no relocations, so its base cannot move")
    for section in image.sections:
        if section.IMAGE_SCN_MEM_WRITE and section.IMAGE_SCN_MEM_EXECUTE:
            name = section.Name.rstrip(b"\0").decode(errors="replace")
            found.append(f"section {name} is both writable and executable")
    return found


def main():
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM.exe...")
    failed = False
    for path in sys.argv[1:]:
        for fault in faults(path):
            print(f"windows-pe-check: {path}: {fault}", file=sys.stderr)
            failed = True
    if failed:
        sys.exit(1)
    print("windows-pe-check: ASLR with high entropy, DEP and no writable code in", *sys.argv[1:])


if __name__ == "__main__":
    main()
