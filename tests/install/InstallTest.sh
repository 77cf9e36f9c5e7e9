#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it: the programs,
# the help pages, a valid menu entry, the icons and a MIME type that claims "*.knv".
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/kinovia bin/kinovia-cli share/kinovia/Help/Help_es.html share/kinovia/Help/Help_en.html share/kinovia/Languages/en.tsv \
    share/applications/kinovia.desktop share/mime/packages/kinovia.xml \
    share/icons/hicolor/scalable/apps/kinovia.svg \
    share/icons/hicolor/scalable/mimetypes/application-x-kinovia.svg; do
  [[ -s "$prefix/$file" ]] || fail "$file is not installed"
done
for size in 16 24 32 48 64 128 256; do
  for icon in apps/kinovia mimetypes/application-x-kinovia; do
    png="$prefix/share/icons/hicolor/${size}x${size}/$icon.png"
    [[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] \
      || fail "$png is not a PNG"
  done
done

"$prefix/bin/kinovia-cli" --version | grep -q '^kinovia-cli ' || fail "installed kinovia-cli does not run"

desktop-file-validate "$prefix/share/applications/kinovia.desktop" || fail "desktop entry refused"
entry="$prefix/share/applications/kinovia.desktop"
grep -qx 'MimeType=application/x-kinovia;' "$entry" || fail "entry does not open work files"
grep -qx 'Icon=kinovia' "$entry" || fail "entry has no icon"

if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/mime/packages/kinovia.xml" || fail "MIME XML is not well formed"
fi
# The desktop's own tool reads the type as a desktop would; it refuses a type it cannot parse.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" 2>&1 | tee "$prefix/mime.log"
  ! grep -qi 'error\|warning' "$prefix/mime.log" || fail "update-mime-database complained"
  grep -q 'application/x-kinovia:\*\.knv' "$prefix/share/mime/globs2" || fail "*.knv not claimed"
  [[ -s "$prefix/share/mime/application/x-kinovia.xml" ]] || fail "MIME type not registered"
  grep -q 'application/x-kinovia:application-x-kinovia' "$prefix/share/mime/icons" \
    || fail "work files have no icon"
fi
echo "installed and checked under $prefix"
