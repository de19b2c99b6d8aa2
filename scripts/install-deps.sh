#!/usr/bin/env bash
# Installs the Debian 12 packages of one or more groups of scripts/packages.list, with the groups
# they build on:
#   install-deps.sh demo|test|package|windows|hidemu|wine|ci...
# Needs root only when something is missing. It prints one line per step; apt's own output only
# when a step fails.
set -euo pipefail
list=$(dirname "$0")/packages.list

# The groups a group builds on, itself included.
expand() {
  case $1 in
  demo | windows | hidemu | wine) echo "$1" ;;
  test) echo demo test ;;
  package) echo demo test package ;;
  ci) echo demo test package windows hidemu wine ci ;;
  *) return 1 ;;
  esac
}

(($#)) || { echo "usage: install-deps.sh demo|test|package|windows|hidemu|wine|ci..." >&2; exit 2; }
wanted=()
for group in "$@"; do
  more=$(expand "$group") || {
    echo "install-deps: no group '$group' (demo, test, package, windows, hidemu, wine, ci)" >&2
    exit 2
  }
  read -ra more <<<"$more"
  wanted+=("${more[@]}")
done

packages=()
while read -r groups package _; do
  [[ -z $groups || $groups == \#* ]] && continue
  IFS=, read -ra groups <<<"$groups"
  for group in "${groups[@]}"; do
    if [[ " ${wanted[*]} " == *" $group "* ]]; then
      [[ " ${packages[*]} " == *" $package "* ]] || packages+=("$package")
      break
    fi
  done
done <"$list"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages for $* are installed"
  exit 0
fi
if [[ $(id -u) != 0 ]]; then
  echo "install-deps: missing ${missing[*]}; run scripts/install-deps.sh $* as root to install them" >&2
  exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
step() {
  local what=$1
  shift
  printf 'install-deps: %s ... ' "$what"
  if "$@" >"$log" 2>&1; then
    echo ok
  else
    echo failed
    cat "$log" >&2
    exit 1
  fi
}

export DEBIAN_FRONTEND=noninteractive
step "updating the package lists" apt-get update
step "installing ${#missing[@]} packages for $* (${missing[*]})" \
  apt-get install -y --no-install-recommends "${missing[@]}"
