#!/usr/bin/env bash
# The packaged programs are hardened: position-independent, full RELRO (read-only
# relocations bound at start), stack protector and fortified libc calls, as readelf sees them;
# and stripped as Debian strips, the .comment section too.
set -euo pipefail
root=$1/package-root
failures=0
for program in "$root"/usr/bin/*; do
    name=$(basename "$program")
    header=$(readelf -h "$program")
    dynamic=$(readelf -d "$program")
    segments=$(readelf -l "$program")
    symbols=$(readelf --dyn-syms -W "$program")
    found=()
    grep -q 'Type: *DYN' <<<"$header" && found+=(PIE)
    grep -q 'GNU_RELRO' <<<"$segments" && grep -qE 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" && found+=("full RELRO")
    grep -q '__stack_chk_fail' <<<"$symbols" && found+=("stack protector")
    fortified=$(grep -oE '__[a-z0-9_]+_chk' <<<"$symbols" | grep -v __stack_chk | sort -u | tr '\n' ' ')
    [[ -n $fortified ]] && found+=("fortify ($fortified)")
    echo "$name: ${found[*]}"
    if readelf -S -W "$program" | grep -qE '\s\.comment\s'; then
        echo "FAIL $name keeps a .comment section"
        failures=$((failures + 1))
    fi
    [[ ${#found[@]} -eq 4 ]] || { echo "FAIL $name is not fully hardened"; failures=$((failures + 1)); }
done
exit $((failures > 0))
