#!/usr/bin/env bash
# The three packages as a system would hold them: unpacked together into a fresh folder
# (BUILD_DIR/package-root) with their control data shown, each file in the package it
# belongs to, and the relations that keep Qt off a machine that wants the command line only
# and give it the lexicon.
set -euo pipefail
build=$1
cli_deb=$(ls "$build"/quorvex-cli_*.deb)
gui_deb=$(ls "$build"/quorvex_*.deb)
lexicon_deb=$(ls "$build"/quorvex-lexicon_*_all.deb)
root=$build/package-root
rm -rf "$root"
mkdir -p "$root"
missing=0
fail() { echo "$*"; missing=1; }

# Each package's files, and the files that must be in it.
check_package()
{
    local deb=$1
    shift
    dpkg-deb --info "$deb"
    dpkg -x "$deb" "$root"
    local list
    list=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$' | sort)
    echo "$list"
    for f in "$@"; do
        grep -qxF "/$f" <<<"$list" || fail "missing from $(basename "$deb"): /$f"
    done
}
check_package "$cli_deb" usr/bin/quorvex-cli \
    usr/share/man/man1/quorvex-cli.1.gz usr/share/man/fr/man1/quorvex-cli.1.gz \
    usr/share/bash-completion/completions/quorvex-cli \
    usr/share/doc/quorvex-cli/copyright usr/share/doc/quorvex-cli/changelog.Debian.gz
check_package "$gui_deb" usr/bin/quorvex \
    usr/share/applications/org.veltrano.Quorvex.desktop \
    usr/share/metainfo/org.veltrano.Quorvex.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/org.veltrano.Quorvex.svg \
    usr/share/icons/hicolor/48x48/apps/org.veltrano.Quorvex.png \
    usr/share/man/man1/quorvex.1.gz usr/share/man/fr/man1/quorvex.1.gz \
    usr/share/bash-completion/completions/quorvex \
    usr/share/doc/quorvex/copyright usr/share/doc/quorvex/changelog.Debian.gz
lexicon=usr/share/quorvex/lexicon
check_package "$lexicon_deb" $lexicon/modeles.la $lexicon/lemmes.la $lexicon/irregs.la \
    $lexicon/assimilations.la $lexicon/contractions.la $lexicon/lemmes.fr $lexicon/lem_ext.la \
    $lexicon/lem_ext.fr $lexicon/tags.la $lexicon/morphos.fr \
    usr/share/doc/quorvex-lexicon/copyright usr/share/doc/quorvex-lexicon/changelog.Debian.gz
# The lexicon in its package only, and no licence outside usr/share/doc.
for deb in "$cli_deb" "$gui_deb"; do
    files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
    if grep -q '^\./usr/share/quorvex/' <<<"$files"; then
        fail "$(basename "$deb") holds files under usr/share/quorvex"
    fi
done
stray=$(find "$root/usr/share" -path "$root/usr/share/doc" -prune -o -iname 'copyright*' -print)
[[ -z $stray ]] || fail "a copyright file outside usr/share/doc: $stray"
# The lexicon's authors and licence, as the data files' headers state them.
grep -q '^Files: usr/share/quorvex/lexicon/\*$' "$root/usr/share/doc/quorvex-lexicon/copyright" \
    || fail "the copyright file has no Files: section for the lexicon"
grep -A4 '^Files: usr/share/quorvex/lexicon/' "$root/usr/share/doc/quorvex-lexicon/copyright" \
    | grep -q '^License: GPL-2.0+$' || fail "the lexicon's licence is not GPL-2.0+ in the copyright file"

# The command line's package pulls nothing of Qt; the windows' package needs it, at the
# same version, and the fonts the windows are measured in.
cli_depends=$(dpkg-deb -f "$cli_deb" Depends)
gui_depends=$(dpkg-deb -f "$gui_deb" Depends)
version=$(dpkg-deb -f "$cli_deb" Version)
for deb in "$cli_deb" "$gui_deb" "$lexicon_deb"; do
    [[ $(dpkg-deb -f "$deb" Source) == quorvex ]] || fail "$(basename "$deb") has no Source: quorvex"
done
[[ $(dpkg-deb -f "$lexicon_deb" Architecture) == all ]] || fail "quorvex-lexicon is not Architecture: all"
grep -qF "quorvex-lexicon (= $version)" <<<"$cli_depends" \
    || fail "quorvex-cli does not depend on quorvex-lexicon (= $version)"
echo "quorvex-cli Depends: $cli_depends"
echo "quorvex-cli Recommends: $(dpkg-deb -f "$cli_deb" Recommends)"
echo "quorvex Depends: $gui_depends"
echo "quorvex Recommends: $(dpkg-deb -f "$gui_deb" Recommends)"
grep -qiE 'qt|libgl|fonts' <<<"$cli_depends" && fail "quorvex-cli depends on the desktop: $cli_depends"
grep -qF "quorvex-cli (= $version)" <<<"$gui_depends" || fail "quorvex does not depend on quorvex-cli (= $version)"
grep -qw fonts-liberation <<<"$gui_depends" || fail "quorvex does not depend on fonts-liberation"
grep -qw libqt6widgets6 <<<"$gui_depends" || fail "quorvex's Qt libraries were not found by dpkg-shlibdeps"
ls -l "$cli_deb" "$gui_deb" "$lexicon_deb"
echo "installed size: quorvex-cli $(dpkg-deb -f "$cli_deb" Installed-Size) KiB, quorvex $(dpkg-deb -f "$gui_deb" Installed-Size) KiB," \
     "quorvex-lexicon $(dpkg-deb -f "$lexicon_deb" Installed-Size) KiB"

"$root/usr/bin/quorvex-cli" --version | head -n1
# Unpacked, the program finds the lexicon beside itself as installed.
"$root/usr/bin/quorvex-cli" --version | tail -n1 \
    | grep -qxF "Lexique latin : $(cd "$root" && pwd)/usr/share/quorvex/lexicon" \
    || fail "the unpacked quorvex-cli does not find its lexicon: $("$root/usr/bin/quorvex-cli" --version | tail -n1)"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/quorvex" --version | head -n1
exit $missing
