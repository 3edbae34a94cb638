#!/usr/bin/env bash
# lintian on both packages (no error, no warning; the info tags shown), AppStream and
# desktop-entry validators on the files as unpacked by package-unpack.sh (no error, no
# warning), and one version everywhere.
set -euo pipefail
build=$1
cli_deb=$(ls "$build"/quorvex-cli_*.deb)
gui_deb=$(ls "$build"/quorvex_*.deb)
root=$build/package-root
share=$root/usr/share

lintian --fail-on error,warning --display-info "$cli_deb" "$gui_deb"

appstreamcli validate --no-net "$share/metainfo/org.veltrano.Quorvex.metainfo.xml"
desktop=$(desktop-file-validate "$share/applications/org.veltrano.Quorvex.desktop" 2>&1) || true
if [[ -n $desktop ]]; then
    echo "$desktop"
    exit 1
fi
echo "desktop-file-validate: no finding"

version=$(dpkg-deb -f "$cli_deb" Version)
[[ $(dpkg-deb -f "$gui_deb" Version) == "$version" ]] || { echo "the two packages differ in version"; exit 1; }
upstream=${version%-*}
grep -q "<release version=\"$upstream\"" "$share/metainfo/org.veltrano.Quorvex.metainfo.xml" \
    || { echo "the metainfo has no release $upstream"; exit 1; }
for package in quorvex-cli quorvex; do
    zcat "$share/doc/$package/changelog.Debian.gz" | head -n1 | grep -q "^quorvex ($version)" \
        || { echo "the changelog of $package does not begin with version $version"; exit 1; }
done
"$root/usr/bin/quorvex-cli" --version | head -n1 | grep -q " $upstream\$" \
    || { echo "quorvex-cli --version does not say $upstream"; exit 1; }
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/quorvex" --version | head -n1 \
    | grep -q " $upstream\$" || { echo "quorvex --version does not say $upstream"; exit 1; }
echo "version $version in both packages and the changelogs, $upstream in the metainfo and both --version"
