#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR as a package would, then checks what landed
# there: the programs run, the desktop entry, file type and metainfo pass their validators,
# and the installed file type recognises a real document by its content and by its name.
# usage: check-install.sh BUILD_DIR
# Exit status 77 (skipped) only when a validator is not installed.
set -euo pipefail

build=$1
app_id=io.github.folioscriptor.Folioscriptor
mime_type=application/x-folioscriptor-page

for tool in desktop-file-validate appstreamcli xmllint update-mime-database; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/bootstrap.sh installs it)"
        exit 77
    fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/fs-install-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >"$tmp/install.log" ||
    fail "cmake --install: $(cat "$tmp/install.log")"
usr=$tmp/root/usr
share=$usr/share

expected=(
    bin/folioscriptor
    bin/folioscriptor-cli
    libexec/folioscriptor/folioscriptor-cli-qt
    share/applications/$app_id.desktop
    share/mime/packages/$app_id.xml
    share/metainfo/$app_id.metainfo.xml
    share/man/man1/folioscriptor.1
    share/man/man1/folioscriptor-cli.1
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/icons/hicolor/scalable/mimetypes/application-x-folioscriptor-page.svg
)
for size in 16 32 48 64 128 256; do
    expected+=(share/icons/hicolor/${size}x$size/apps/$app_id.png
        share/icons/hicolor/${size}x$size/mimetypes/application-x-folioscriptor-page.png)
done
for file in "${expected[@]}"; do
    [ -s "$usr/$file" ] || fail "not installed: /usr/$file"
done
# Nothing lands outside the prefix.
[ "$(ls "$tmp/root")" = usr ] || fail "installed outside /usr: $(ls "$tmp/root")"

# The programs run from where they were installed.
"$usr/bin/folioscriptor" --version | grep -q '^folioscriptor [0-9]' || fail "folioscriptor --version"
"$usr/bin/folioscriptor-cli" --help | grep -q compose || fail "folioscriptor-cli --help"

# The PNG icons are the sizes their folders say.
for size in 16 32 48 64 128 256; do
    for png in "$share"/icons/hicolor/${size}x$size/*/*.png; do
        dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
        [ "$dims" = "${size}x$size" ] || fail "$png is $dims"
    done
done

desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop-file-validate"
grep -qx "Exec=folioscriptor %f" "$share/applications/$app_id.desktop" || fail "Exec line"
grep -qx "MimeType=$mime_type;" "$share/applications/$app_id.desktop" || fail "MimeType line"
grep -qx "Icon=$app_id" "$share/applications/$app_id.desktop" || fail "Icon line"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
for xml in "$share/mime/packages/$app_id.xml" "$share/metainfo/$app_id.metainfo.xml" \
    "$share"/icons/hicolor/scalable/*/*.svg; do
    xmllint --noout "$xml" || fail "xmllint $xml"
done
for schema in /usr/share/xml/shared-mime-info/shared-mime-info.xsd \
    /usr/share/shared-mime-info/shared-mime-info.xsd; do
    if [ -f "$schema" ]; then
        xmllint --noout --schema "$schema" "$share/mime/packages/$app_id.xml" || fail "schema"
    fi
done
if command -v man >/dev/null; then
    for page in folioscriptor folioscriptor-cli; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $page: $warnings"
    done
fi

# The file type, as a desktop sees it once the package's trigger has run.
XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime" 2>"$tmp/mime.log" || fail "update-mime-database: $(cat "$tmp/mime.log")"
[ ! -s "$tmp/mime.log" ] || fail "update-mime-database warns: $(cat "$tmp/mime.log")"
cat >"$tmp/page.json" <<'JSON'
{"Captions": [{"Text": "Opened from the file manager", "Rect": [10, 20, 90, 30]}]}
JSON
# The installed CLI finds the program it runs for compose and render under libexec.
"$usr/bin/folioscriptor-cli" compose "$tmp/page.json" "$tmp/x.bin" || fail "compose"
"$usr/bin/folioscriptor-cli" render "$tmp/x.bin" "$tmp/x.png" --dpi 50 || fail "render"
[ "$(od -An -c -j1 -N3 "$tmp/x.png" | tr -d ' ')" = PNG ] || fail "render wrote no PNG"
cp "$tmp/x.bin" "$tmp/foo.pst"
echo "not a document" >"$tmp/FOO.PST"
# Only the installed types and the system's: no user's own database gets in the way.
mkdir -p "$tmp/home"
lookup() { # FILE [DATA_DIRS]: the content type a desktop gives FILE
    local dirs=${2-$share:/usr/share}
    if command -v xdg-mime >/dev/null; then
        # xdg-mime asks GIO on this desktop (the generic fallback asks file(1), which knows
        # nothing of shared-mime-info).
        env -i PATH="$PATH" HOME="$tmp/home" XDG_DATA_HOME="$tmp/home" XDG_DATA_DIRS="$dirs" \
            XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$1"
    else
        env -i PATH="$PATH" HOME="$tmp/home" XDG_DATA_HOME="$tmp/home" XDG_DATA_DIRS="$dirs" \
            gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
    fi
}
if ! command -v xdg-mime >/dev/null && ! command -v gio >/dev/null; then
    echo "SKIPPED: neither xdg-mime nor gio is installed to look the file type up"
    exit 77
fi
[ "$(lookup "$tmp/x.bin" /usr/share)" != "$mime_type" ] || fail "x.bin is known without the package"
for file in x.bin foo.pst FOO.PST; do
    got=$(lookup "$tmp/$file")
    [ "$got" = "$mime_type" ] || fail "$file is $got, not $mime_type"
done
echo "installed and validated: ${#expected[@]} files"
