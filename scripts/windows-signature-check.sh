#!/usr/bin/env bash
# The signatures of a signed Windows build: both programs as the installer holds them, and the
# installer itself, each verified against CERTIFICATE.pem, the certificate that signed them.
#
#   scripts/windows-signature-check.sh WINDOWS_BUILD_DIR CERTIFICATE.pem
set -euo pipefail

fail() {
    echo "windows-signature-check: $*" >&2
    exit 1
}

[ $# -eq 2 ] || { echo "usage: $0 WINDOWS_BUILD_DIR CERTIFICATE.pem" >&2; exit 2; }
windows=$(readlink -f "$1")
certificate=$2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$windows/CMakeCache.txt")
package="$windows/kestrelink-$version-x64.msi"
[ -f "$package" ] || fail "no $package: build it with make windows-package"

packed=$(mktemp -d)
trap 'rm -rf "$packed"' EXIT
msiextract -C "$packed" "$package" >/dev/null
for file in "$packed/Kestrelink/kestrelink.exe" "$packed/Kestrelink/kestrelink-cli.exe" "$package"; do
    [ -f "$file" ] || fail "the installer holds no $(basename "$file")"
    said=$(osslsigncode verify -CAfile "$certificate" -in "$file" 2>&1) ||
        fail "$(basename "$file") carries no signature of $certificate: $said"
done
echo "windows-signature-check: both programs and the installer are signed"
