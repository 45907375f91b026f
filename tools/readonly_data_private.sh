#!/bin/sh
# The read-only data folder test from a checkout that other users cannot
# enter (mode 700, the usual case for root's home folder) and with TMPDIR a
# mode-700 folder too: tvui, its font and the key script are copied into a
# private folder, and readonly_data.sh runs on those copies.
#   readonly_data_private.sh TVUI CHANGES.keys
here="$(cd "$(dirname "$0")" && pwd)"
tvui="$1"; keys="$2"
outer=$(mktemp -d "${TMPDIR:-/tmp}/tvui-private-XXXXXX") || exit 1
trap 'rm -rf "$outer"' EXIT
chmod 700 "$outer"
mkdir -p "$outer/checkout/fonts" "$outer/tmp" "$outer/tools"
chmod 700 "$outer/checkout" "$outer/tmp" "$outer/tools"
cp "$tvui" "$outer/checkout/tvui" && cp "$(dirname "$tvui")/fonts/tt7268m_803.ttf" "$outer/checkout/fonts/" &&
  cp "$keys" "$outer/checkout/changes.keys" && cp "$here/readonly_data.sh" "$outer/tools/" || exit 1
TMPDIR="$outer/tmp" sh "$outer/tools/readonly_data.sh" "$outer/checkout/tvui" "$outer/checkout/changes.keys"
