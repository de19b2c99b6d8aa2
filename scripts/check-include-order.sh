#!/usr/bin/env bash
# Fails when a folder of src/ includes a folder listed after it, when anything but the demo
# includes the simulator, when one page folder includes another, or when anything outside a
# platform's folder includes it (platform code is reached through the seams it implements).
#   check-include-order.sh [src dir]
set -uo pipefail
src=${1:-"$(dirname "$0")/../src"}
order=(settings model device session sim widgets pages app cli platform demo)

rank() {
  local i
  for i in "${!order[@]}"; do
    [[ ${order[$i]} == "$1" ]] && { echo "$i"; return; }
  done
  echo -1
}

status=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  folder=${rel%%/*}
  own=$(rank "$folder")
  if ((own < 0)); then
    echo "$rel: folder $folder has no place in the include order"
    status=1
    continue
  fi
  while IFS= read -r line; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
    [[ $target == */* ]] || continue
    to=${target%%/*}
    theirs=$(rank "$to")
    ((theirs < 0)) && continue  # not one of ours
    if [[ $to == platform ]]; then
      if [[ $(cut -d/ -f1-2 <<<"$rel") != "$(cut -d/ -f1-2 <<<"$target")" ]]; then
        if [[ $folder == platform ]]; then
          echo "$rel: includes $target; one platform's folder does not use another's"
        else
          echo "$rel: includes $target; platform code is reached through its seams"
        fi
        status=1
      fi
    elif ((theirs > own)); then
      echo "$rel: includes $target, but $to comes after $folder"
      status=1
    elif [[ $to == sim && $folder != sim && $folder != demo ]]; then
      echo "$rel: includes $target; only the demo uses the simulator"
      status=1
    elif [[ $to == pages && $folder == pages ]]; then
      mine=$(cut -d/ -f2 <<<"$rel")
      other=$(cut -d/ -f2 <<<"$target")
      if [[ $mine != "$other" ]]; then
        echo "$rel: includes $target; a page folder uses only itself, widgets and rules"
        status=1
      fi
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find "$src" -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

((status == 0)) && echo "includes run one way"
exit $status
