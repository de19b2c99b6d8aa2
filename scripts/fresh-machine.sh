#!/usr/bin/env bash
# Follows the README on a fresh, minimal Debian 12, so that a missing install step fails here and
# not for a newcomer. Makes the root once with `debootstrap --variant=minbase bookworm` and keeps it
# as a tarball in $LARK_FRESH_DIR (default build-fresh/); each stage unpacks its own copy, gets a
# clean copy of the sources and runs, as root in a chroot:
#   newcomer  the README's two commands as written: scripts/demo.sh on a virtual screen (an Xvfb
#             of this machine) until both of its windows show, then scripts/test.sh; says how long
#             each took and how much disk each used
#   packager  only the package's Build-Depends (apt-get build-dep), then the README's package
#             route: dpkg-buildpackage -us -uc -b (its unit tests included) and apt install of the
#             package, whose demo must then start
#   scripts/fresh-machine.sh [stage...]     (default: both)
# The host's compiler cache serves the builds inside unless LARK_FRESH_CCACHE=0 (for the README's
# cold figures). Needs root and the Debian mirror; without them it says why and exits 0 (nothing
# was tried).
set -euo pipefail
cd "$(dirname "$0")/.."
stages=("$@")
((${#stages[@]})) || stages=(newcomer packager)
dir=${LARK_FRESH_DIR:-build-fresh}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
pristine=$dir/bookworm-minbase.tar
archives=$dir/apt-archives  # downloaded packages, shared by the stages
started=$SECONDS
say() { echo "fresh-machine: $* ($((SECONDS - started)) s)"; }

if [[ $(id -u) != 0 ]]; then
  say "skipped: needs root (debootstrap, chroot)"
  exit 0
fi
mirror=$(sed -n 's|^URIs: *\([^ ]*/debian\)/*$|\1|p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
[[ -n $mirror ]] || mirror=$(awk '$1 == "deb" && $2 ~ /\/debian\/?$/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
mirror=${mirror:-http://deb.debian.org/debian}

# The host's compiler cache, when it has one, serves the builds inside: only the compiling gets
# faster; a missing header or package still fails the build.
cache_env=()
ccache_dir=
if [[ ${LARK_FRESH_CCACHE:-1} != 0 ]] && command -v ccache >/dev/null; then
  ccache_dir=$(ccache -k cache_dir 2>/dev/null || true)
  [[ -n $ccache_dir ]] && mkdir -p "$ccache_dir" &&
    cache_env=(CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR=/root/lark-config
      CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

root=
xvfb=
cleanup() {
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
  xvfb=
  [[ -n $root && -d $root ]] || return 0
  for mount in tmp/.X11-unix var/cache/ccache var/cache/apt/archives dev/shm dev/pts dev sys proc; do
    mountpoint -q "$root/$mount" && umount -l "$root/$mount"
  done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT

if [[ ! -f $pristine ]]; then
  if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null 2>&1 || {
      say "skipped: debootstrap is not installed and cannot be"
      exit 0
    }
  fi
  root=$dir/bootstrap
  rm -rf --one-file-system "$root"
  say "debootstrap --variant=minbase bookworm from $mirror"
  if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$dir/debootstrap.log" 2>&1; then
    if ! getent hosts "$(sed 's|^[a-z]*://\([^/]*\).*|\1|' <<<"$mirror")" >/dev/null; then
      say "skipped: the mirror $mirror cannot be reached"
      exit 0
    fi
    tail -n 30 "$dir/debootstrap.log" >&2
    say "debootstrap failed"
    exit 1
  fi
  tar -C "$root" -cf "$pristine" .
  rm -rf --one-file-system "$root"
  root=
  say "root ready and kept in $pristine ($(du -h "$pristine" | cut -f1))"
fi

# A fresh root from the tarball, with the sources in /root/lark-config.
new_root() {
  root=$dir/root-$1
  rm -rf --one-file-system "$root"
  mkdir -p "$root"
  tar -C "$root" -xf "$pristine"
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  # No services start inside the chroot.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
  mount -t proc proc "$root/proc"
  mount --bind /sys "$root/sys"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  mount -t tmpfs shm "$root/dev/shm"
  mkdir -p "$archives/partial"
  mount --bind "$archives" "$root/var/cache/apt/archives"
  if ((${#cache_env[@]})); then
    mkdir -p "$root/var/cache/ccache"
    mount --bind "$ccache_dir" "$root/var/cache/ccache"
  fi
  mkdir -p "$root/root/lark-config"
  (git ls-files -z --cached --others --exclude-standard 2>/dev/null || find . -path ./build\* -prune -o -type f -print0) |
    tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$root/root/lark-config" -xf -
}

# Runs a shell command in the chroot, in the sources, with a clean environment (and $extra_env).
extra_env=()
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb "${cache_env[@]}" "${extra_env[@]}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -euo pipefail -c "cd /root/lark-config && $1"
}
# What the root holds now, in MiB, less the shared package downloads and the compiler cache.
used() {
  du -smx --exclude=./var/cache/apt/archives --exclude=./var/cache/ccache "$root/." | cut -f1
}

# The newcomer: the README's demo command on a virtual screen, until the window and the virtual
# mouse's panel show, then its test command.
newcomer() {
  local log=$1 display window demo=0 t0 before status=0
  if ((${#cache_env[@]})); then  # the cache's own program, outside the timed commands
    in_root 'apt-get update -qq && apt-get install -y -qq --no-install-recommends ccache' >>"$log" 2>&1
  fi
  # A virtual screen of this machine; the chroot sees its socket.
  display=90
  while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1400x900x24 -nolisten tcp >>"$log" 2>&1 &
  xvfb=$!
  mkdir -p "$root/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  until [[ -S /tmp/.X11-unix/X$display ]]; do
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb :$display did not start" >>"$log"; return 1; }
    sleep 0.2
  done

  before=$(used) t0=$SECONDS
  echo "\$ scripts/demo.sh" >>"$log"
  extra_env=(DISPLAY=":$display")
  in_root 'scripts/demo.sh & echo $! >/tmp/demo.pid; wait $!' >>"$log" 2>&1 &
  demo=$!
  extra_env=()
  # Both windows on the screen, their titles starting so: the demo works. Or the command ended, or an hour went by without
  # them (installing and building take minutes): it did not.
  for window in "Tarrow Lark 8k Configuration Tool" "Virtual mouse"; do
    until xwininfo -display ":$display" -root -tree 2>/dev/null | grep -qF "\"$window"; do
      if ! kill -0 "$demo" 2>/dev/null; then
        echo "scripts/demo.sh ended before '$window' showed" >>"$log"
        return 1
      fi
      if ((SECONDS - t0 > 3600)); then
        echo "scripts/demo.sh showed no '$window' within an hour" >>"$log"
        kill "$(cat "$root/tmp/demo.pid" 2>/dev/null)" 2>/dev/null
        return 1
      fi
      sleep 1
    done
  done
  say "newcomer: scripts/demo.sh showed the window after $((SECONDS - t0)) s, using $(($(used) - before)) MiB" | tee -a "$log"
  kill "$(cat "$root/tmp/demo.pid")"
  wait "$demo" || true
  umount -l "$root/tmp/.X11-unix"
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null || true
  xvfb=

  before=$(used) t0=$SECONDS
  echo "\$ scripts/test.sh" >>"$log"
  in_root 'scripts/test.sh' >>"$log" 2>&1 || status=$?
  say "newcomer: scripts/test.sh took $((SECONDS - t0)) s, using $(($(used) - before)) MiB more" | tee -a "$log"
  return $status
}

packager_script='export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends build-essential >/dev/null
  apt-get build-dep -y -qq ./ >/dev/null
  if [ -n "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then apt-get install -y -qq ccache >/dev/null; fi
  dpkg-buildpackage -us -uc -b
  apt-get install -y -qq ../lark-config_*.deb >/dev/null
  test -f /usr/share/man/man1/lark-config.1.gz
  QT_QPA_PLATFORM=offscreen timeout 5 lark-config-demo && exit 1 || test $? = 124
  echo "the installed lark-config-demo started and ran until stopped"'

status=0
for stage in "${stages[@]}"; do
  case $stage in
  newcomer | packager) ;;
  *)
    echo "fresh-machine: unknown stage '$stage' (newcomer, packager)" >&2
    exit 2
    ;;
  esac
  new_root "$stage"
  say "$stage: start"
  log=$dir/$stage.log
  : >"$log"
  if [[ $stage == newcomer ]]; then
    newcomer "$log" && ok=1 || ok=0
  else
    in_root "$packager_script" >"$log" 2>&1 && ok=1 || ok=0
  fi
  if ((ok)); then
    tail -n 3 "$log"
    say "$stage: passed"
  else
    tail -n 60 "$log" >&2
    say "$stage: FAILED (whole log: $log)"
    status=1
  fi
  cleanup
  root=
done
exit $status
