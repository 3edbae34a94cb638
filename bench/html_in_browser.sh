#!/usr/bin/env bash
# The HTML export as a reader sees it: rendered by headless Chromium, then checked.
#   bench/html_in_browser.sh BUILD_DIR [OUT_DIR [LATIN FRENCH FORM]]
# Defaults: samples/latin.txt, samples/francais.txt, "am*"; OUT_DIR: BUILD_DIR/html-check.
# Writes OUT_DIR/export.html (the export itself) and OUT_DIR/export.png (its screenshot),
# and checks, in the page as laid out by the browser: the page loads with its table, one
# body row per attestation (quorvex-cli --count), and in every row the form marked in the
# Latin passage, shown (a box of its own, not hidden) in a colour of its own.
# Needs chromium (Debian package chromium). Exits 0 when every check passes.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "$1")
out=${2:-$build/html-check}
latin=${3:-$here/samples/latin.txt}
french=${4:-$here/samples/francais.txt}
form=${5:-am*}
cli=$build/src/cli/quorvex-cli
mkdir -p "$out"
out=$(realpath "$out")

"$cli" --latin "$latin" --french "$french" --title "Contrôle dans un navigateur" \
    --format html --output "$out/export.html" -- "$form"
expected=$("$cli" --latin "$latin" --count -- "$form")

# The checked copy carries a script that measures the laid-out page and writes its verdict
# into the page; the export itself has no script and stays as written.
cp "$out/export.html" "$out/checked.html"
cat >> "$out/checked.html" <<'SCRIPT'
<script>
(function () {
  const rows = document.querySelectorAll("table tbody tr");
  let marked = 0, problems = [];
  rows.forEach(function (tr, i) {
    const form = tr.cells[0].textContent.toLowerCase();
    const marks = tr.cells[2].querySelectorAll("mark");
    let shown = 0;
    marks.forEach(function (m) {
      const box = m.getBoundingClientRect();
      const style = getComputedStyle(m);
      const cell = getComputedStyle(tr.cells[2]);
      if (box.width > 0 && box.height > 0 && style.visibility === "visible"
          && style.display !== "none" && style.color !== cell.color
          && m.textContent.toLowerCase() === form)
        ++shown;
    });
    if (shown > 0) ++marked; else problems.push("row " + (i + 1) + " (" + form + ")");
  });
  const verdict = document.createElement("pre");
  verdict.id = "verdict";
  verdict.textContent = "rows=" + rows.length + " marked=" + marked
    + " table=" + (document.querySelector("table") ? 1 : 0)
    + " problems=" + (problems.slice(0, 5).join(", ") || "none");
  document.body.appendChild(verdict);
})();
</script>
SCRIPT

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
browser=(chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run
         --disable-background-networking --disable-component-update --disable-sync
         --user-data-dir="$profile")
"${browser[@]}" --dump-dom "file://$out/checked.html" > "$out/dom.html" 2> "$out/chromium.log"
"${browser[@]}" --window-size=1280,1600 --screenshot="$out/export.png" \
    "file://$out/export.html" >> "$out/chromium.log" 2>&1

verdict=$(sed -n 's:.*<pre id="verdict">\(.*\)</pre>.*:\1:p' "$out/dom.html")
echo "attestations (--count): $expected; in the browser: $verdict"
echo "screenshot: $out/export.png"
status=0
[[ $verdict == "rows=$expected marked=$expected table=1 problems=none" ]] || status=1
[[ -s $out/export.png ]] || { echo "no screenshot"; status=1; }
[[ $status -eq 0 ]] && echo "HTML export: every check passes" || echo "HTML export: FAILED"
exit $status
