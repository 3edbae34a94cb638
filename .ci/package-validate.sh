#!/usr/bin/env bash
# lintian on the package (no error), AppStream and desktop-entry validators on the files as
# unpacked by package-unpack.sh (no error, no warning), and one version everywhere.
set -euo pipefail
build=$1
deb=$(ls "$build"/quorvex_*.deb)
root=$build/package-root
share=$root/usr/share

lintian --fail-on error --display-info "$deb"

appstreamcli validate --no-net "$share/metainfo/org.veltrano.Quorvex.metainfo.xml"
desktop=$(desktop-file-validate "$share/applications/org.veltrano.Quorvex.desktop" 2>&1) || true
if [[ -n $desktop ]]; then
    echo "$desktop"
    exit 1
fi
echo "desktop-file-validate: no finding"

version=$(dpkg-deb -f "$deb" Version)
grep -q "<release version=\"$version\"" "$share/metainfo/org.veltrano.Quorvex.metainfo.xml" \
    || { echo "the metainfo has no release $version"; exit 1; }
zcat "$share/doc/quorvex/changelog.gz" | head -n1 | grep -q "^quorvex ($version)" \
    || { echo "the changelog does not begin with version $version"; exit 1; }
"$root/usr/bin/quorvex-cli" --version | head -n1 | grep -q " $version\$" \
    || { echo "quorvex-cli --version does not say $version"; exit 1; }
echo "version $version in the package, the metainfo, the changelog and --version"
