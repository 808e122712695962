#!/usr/bin/env bash
# Generates a locale of the C library when it is missing (Debian's locales package), with sudo
# when not root: the suite runs in the players' Spanish locale as well as in C.
#
#   tools/install-locale.sh es_ES.UTF-8
set -euo pipefail

locale=$1
charset=${locale#*.}
# locale -a writes the charset lower-case and without its dash: es_ES.utf8.
listed="${locale%%.*}.$(echo "$charset" | tr -d - | tr '[:upper:]' '[:lower:]')"
locale -a | grep -qxF "$listed" && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
entry="$locale $charset"
if grep -qxE "# *$entry" /etc/locale.gen; then
    "${sudo[@]}" sed -i -E "s/^# *($entry)\$/\\1/" /etc/locale.gen
elif ! grep -qxF "$entry" /etc/locale.gen; then
    echo "$entry" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
fi
"${sudo[@]}" env PATH="$PATH:/usr/sbin" locale-gen
locale -a | grep -qxF "$listed" || {
    echo "the locale $locale could not be generated" >&2
    exit 1
}
