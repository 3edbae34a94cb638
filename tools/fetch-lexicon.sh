#!/usr/bin/env bash
# Fetches the Latin lexicon of the Collatinus project (GPL-2+) from its Debian package
# without installing the package (it would pull Qt 5 and a DjVu viewer), and keeps only its
# data files and copyright in one folder, where CMake finds them (QUORVEX_LEXICON_SOURCE)
# and installs them with quorvex-cli. Nothing of it enters the repository.
# Usage: fetch-lexicon.sh [FOLDER]   (default /var/cache/quorvex/lexicon)
set -euo pipefail
dest=${1:-/var/cache/quorvex/lexicon}
# tags.la (tag and tag-trigram counts) and morphos.fr (names of the analyses) feed the tagger.
files="modeles.la lemmes.la irregs.la assimilations.la contractions.la lemmes.fr lem_ext.la lem_ext.fr tags.la morphos.fr"
# The few lines its reader cannot read are mended, each as the table says and why; a lexicon
# fetched before the table is mended too.
mend() { perl "$(dirname "$0")/mend-lexicon.pl" "$(dirname "$0")/lexicon-corrections.tsv" "$1"; }
complete=yes
for f in $files copyright; do
  [ -f "$dest/$f" ] || complete=no
done
if [ $complete = yes ]; then
  mend "$dest"
  echo "lexicon: already in $dest"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 0755 "$work"  # apt's download user must be able to write there
(cd "$work" && apt-get download collatinus >/dev/null)
dpkg-deb -x "$work"/collatinus_*.deb "$work/x"
mkdir -p "$dest.new"
for f in $files; do
  install -m 0644 "$work/x/usr/share/collatinus/data/$f" "$dest.new/$f"
done
install -m 0644 "$work/x/usr/share/doc/collatinus/copyright" "$dest.new/copyright"
mend "$dest.new"
rm -rf "$dest"
mv "$dest.new" "$dest"
echo "lexicon: $(ls "$dest" | wc -l) files in $dest"
