#!/usr/bin/env bash
# The package as a system would hold it: unpacked into a fresh folder (BUILD_DIR/package-root)
# with its control data shown, and the files the menu, man and bash look for in place.
set -euo pipefail
build=$1
deb=$(ls "$build"/quorvex_*.deb)
root=$build/package-root
rm -rf "$root"
mkdir -p "$root"
dpkg-deb --info "$deb"
dpkg -x "$deb" "$root"
(cd "$root" && find . -type f | sort)
missing=0
for f in usr/bin/quorvex usr/bin/quorvex-cli \
         usr/share/applications/org.veltrano.Quorvex.desktop \
         usr/share/metainfo/org.veltrano.Quorvex.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/org.veltrano.Quorvex.svg \
         usr/share/icons/hicolor/48x48/apps/org.veltrano.Quorvex.png \
         usr/share/man/man1/quorvex.1.gz usr/share/man/man1/quorvex-cli.1.gz \
         usr/share/bash-completion/completions/quorvex-cli \
         usr/share/doc/quorvex/copyright usr/share/doc/quorvex/changelog.gz; do
    [[ -f $root/$f ]] || { echo "missing from the package: /$f"; missing=1; }
done
"$root/usr/bin/quorvex-cli" --version | head -n1
exit $missing
