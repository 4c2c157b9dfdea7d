#!/bin/sh
# Adds ポルカノ to the desktop's application menu for the current user, starting the program from
# this folder (where it also keeps its settings file). "install-launcher.sh --remove" takes the
# menu entry and the icons away again. Nothing outside the user's own data folder is touched.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
data="${XDG_DATA_HOME:-$HOME/.local/share}"
desktop="$data/applications/porukano.desktop"
sizes="16 22 24 32 48 64 128 256"

if [ "${1:-}" = "--remove" ]; then
    rm -f "$desktop"
    for size in $sizes; do
        rm -f "$data/icons/hicolor/${size}x${size}/apps/porukano.png"
    done
    rm -f "$data/icons/hicolor/scalable/apps/porukano.svg"
    command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$data/applications" || true
    echo "The launcher has been removed."
    exit 0
fi

mkdir -p "$data/applications"
for size in $sizes; do
    mkdir -p "$data/icons/hicolor/${size}x${size}/apps"
    cp "$here/icons/hicolor/${size}x${size}/apps/porukano.png" "$data/icons/hicolor/${size}x${size}/apps/"
done
mkdir -p "$data/icons/hicolor/scalable/apps"
cp "$here/icons/hicolor/scalable/apps/porukano.svg" "$data/icons/hicolor/scalable/apps/"

# Exec and Path name this folder. Inside Exec's quotes \ " ` $ are escaped with a backslash, and
# the desktop file's own string escaping then doubles every backslash.
escaped=$(printf '%s' "$here/KT41A0001" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g')
while IFS= read -r line; do
    case "$line" in
    Exec=*) printf 'Exec="%s"\n' "$escaped" ;;
    Icon=*) printf '%s\nPath=%s\n' "$line" "$here" ;;
    *) printf '%s\n' "$line" ;;
    esac
done < "$here/porukano.desktop" > "$desktop"
chmod 644 "$desktop"
command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$data/applications" || true
echo "The launcher is installed: $desktop"
