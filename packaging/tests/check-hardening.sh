#!/usr/bin/env bash
# Reads the programs (and private libraries) of the built Debian package with readelf: each must be
# a position-independent executable with full RELRO (read-only relocations, resolved at load:
# BIND_NOW), the stack protector and FORTIFY's checked functions. A deliberately unhardened
# program, built here, must fail every one of the checks, so a pass means something.
#   check-hardening.sh <package output dir> [program...]
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

out=$1
shift
programs=("$@")
command -v readelf >/dev/null || skip "readelf not installed (apt-get install binutils)"
((${#programs[@]})) || skip "this build has no programs"
deb=$(ls "$out"/lark-config_*.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || skip "no Debian package in $out: packaging.debian_package did not build one here"
make_scratch

# The hardening features a binary lacks, one word each.
missing_hardening() {
  local binary=$1 header dynamic segments symbols
  # Read each table once: grep -q on a pipe would stop readelf early and fail the pipeline.
  header=$(readelf -h "$binary")
  dynamic=$(readelf -d "$binary")
  segments=$(readelf -lW "$binary")
  symbols=$(readelf --dyn-syms -W "$binary")
  grep -q 'Type:.*DYN' <<<"$header" && grep -q 'FLAGS_1.*PIE' <<<"$dynamic" || echo pie
  grep -q GNU_RELRO <<<"$segments" || echo relro
  grep -Eq 'FLAGS.*BIND_NOW|FLAGS_1.* NOW' <<<"$dynamic" || echo bindnow
  grep -q ' __stack_chk_fail@' <<<"$symbols" || echo stackprotector
  grep -E ' __[a-z0-9_]+_chk@' <<<"$symbols" | grep -v ' __stack_chk_fail@' >/dev/null || echo fortify
}

# The checks must see an unhardened program as such.
if command -v cc >/dev/null; then
  cat >"$scratch/plain.c" <<'EOF'
#include <stdio.h>
#include <string.h>
int main(int argc, char** argv)
{
    char buffer[64];
    strcpy(buffer, argc > 1 ? argv[1] : "x");
    printf("%s\n", buffer);
    return 0;
}
EOF
  if cc -O2 -fno-pie -no-pie -fno-stack-protector -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=0 -Wl,-z,norelro -Wl,-z,lazy \
    -o "$scratch/plain" "$scratch/plain.c" 2>"$scratch/cc.log"; then
    got=$(missing_hardening "$scratch/plain" | tr '\n' ' ')
    [[ $got == "pie relro bindnow stackprotector fortify " ]] ||
      fail "an unhardened program was found lacking only: '$got'"
  else
    fail "cannot build the unhardened fixture: $(cat "$scratch/cc.log")"
  fi
fi

dpkg-deb -x "$deb" "$scratch/root"
for program in "${programs[@]}"; do
  binary=$scratch/root/usr/bin/$program
  if [[ ! -f $binary ]]; then
    fail "$(basename "$deb") has no /usr/bin/$program"
    continue
  fi
  lacking=$(missing_hardening "$binary" | tr '\n' ' ')
  [[ -z $lacking ]] || fail "$program lacks: $lacking"
done
# lark-config's private libraries: the same, but for what only a program has (pie) and what
# depends on the functions a library calls (fortify).
for library in "$scratch"/root/usr/lib/*/lark-config/*.so; do
  [[ -f $library ]] || continue
  lacking=$(missing_hardening "$library" | grep -vxE 'pie|fortify' | tr '\n' ' ')
  [[ -z $lacking ]] || fail "$(basename "$library") lacks: $lacking"
done
finish
