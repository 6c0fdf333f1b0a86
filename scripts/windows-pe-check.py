#!/usr/bin/python3
"""Checks that each Windows program named can be loaded anywhere in a 64-bit address space (high
entropy ASLR: a movable base with its relocations kept, large addresses) and runs with DEP, with
no section both writable and executable, and that the loader takes every DLL it imports at start
from the system alone: any other is delay-loaded (cmake/delay_loaded_library.cmake).

    scripts/windows-pe-check.py PROGRAM.exe...
"""
import sys

import pefile

# The Known DLLs of Windows 10 and 11 (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\
# KnownDLLs), which the loader maps from the system folder whatever the program's folder holds, and
# the common controls, which the programs' manifest sends to the side-by-side store.
FROM_THE_SYSTEM = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll", "comctl32.dll",
}


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
    image.parse_data_directories(
        directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])
    for entry in getattr(image, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode(errors="replace")
        if dll.lower() not in FROM_THE_SYSTEM:
            found.append(f"imports {dll} at start, which a planted copy beside it would replace")
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
    print("windows-pe-check: ASLR with high entropy, DEP, no writable code, DLLs from the system:",
          *sys.argv[1:])


if __name__ == "__main__":
    main()
