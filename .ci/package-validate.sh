#!/usr/bin/env bash
# lintian on the three packages (no error, no warning; the info tags shown), AppStream and
# desktop-entry validators on the files as unpacked by package-unpack.sh (no error, no
# warning), and one version everywhere.
set -euo pipefail
build=$1
cli_deb=$(ls "$build"/quorvex-cli_*.deb)
gui_deb=$(ls "$build"/quorvex_*.deb)
lexicon_deb=$(ls "$build"/quorvex-lexicon_*_all.deb)
root=$build/package-root
share=$root/usr/share

lintian --fail-on error,warning --display-info "$cli_deb" "$gui_deb" "$lexicon_deb"

appstreamcli validate --no-net "$share/metainfo/org.veltrano.Quorvex.metainfo.xml"
desktop=$(desktop-file-validate "$share/applications/org.veltrano.Quorvex.desktop" 2>&1) || true
if [[ -n $desktop ]]; then
    echo "$desktop"
    exit 1
fi
echo "desktop-file-validate: no finding"

version=$(dpkg-deb -f "$cli_deb" Version)
for deb in "$gui_deb" "$lexicon_deb"; do
    [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || { echo "the packages differ in version"; exit 1; }
done
upstream=${version%-*}
grep -q "<release version=\"$upstream\"" "$share/metainfo/org.veltrano.Quorvex.metainfo.xml" \
    || { echo "the metainfo has no release $upstream"; exit 1; }
for package in quorvex-cli quorvex quorvex-lexicon; do
    zcat "$share/doc/$package/changelog.Debian.gz" | head -n1 | grep -q "^quorvex ($version)" \
        || { echo "the changelog of $package does not begin with version $version"; exit 1; }
    # One entry a version.
    repeated=$(zcat "$share/doc/$package/changelog.Debian.gz" | grep -oE '^quorvex \([^)]+\)' | sort | uniq -d)
    [[ -z $repeated ]] || { echo "the changelog of $package has more than one entry for $repeated"; exit 1; }
    upstreams=$(zcat "$share/doc/$package/changelog.Debian.gz" | grep -oE '^quorvex \([^)-]+\)' || true)
    [[ -z $upstreams ]] || { echo "the changelog of $package has a version without revision: $upstreams"; exit 1; }
done
"$root/usr/bin/quorvex-cli" --version | head -n1 | grep -q " $upstream\$" \
    || { echo "quorvex-cli --version does not say $upstream"; exit 1; }
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/quorvex" --version | head -n1 \
    | grep -q " $upstream\$" || { echo "quorvex --version does not say $upstream"; exit 1; }
echo "version $version in the three packages and their changelogs, $upstream in the metainfo and both --version"
