#!/usr/bin/env bash
# Checks that the folders of src/ include one another in one direction only.
# A file may include headers of its own folder and of folders in a lower
# layer. Within a layer a folder may use a peer only when that peer uses no
# folder of the layer itself, so peers never include each other (in either
# direction) and no circle can form. Exits 1 and names every offending
# include. Usage: check-layers.sh [SRC_DIR] (default: src/ of the repository).
set -euo pipefail

# The layers, highest first; the folders of one layer are separated by blanks.
LAYERS=(
  "app"
  "optimise errlog calendar config log"
  "db"
  "common"
)

src="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src}"
declare -A rank
for i in "${!LAYERS[@]}"; do
  for folder in ${LAYERS[$i]}; do rank[$folder]=$i; done
done

# "<folder> <included folder> <file>:<line>" for every include of another
# folder of src/.
edges() {
  local file folder target
  while IFS= read -r -d '' file; do
    folder="${file#"$src"/}"
    folder="${folder%%/*}"
    grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]*/' "$file" |
      while IFS= read -r hit; do
        target="${hit#*\"}"
        target="${target%%/*}"
        [[ "$target" != "$folder" ]] && echo "$folder $target ${file#"$src"/}:${hit%%:*}"
      done || true
  done < <(find "$src" \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
}

mapfile -t all < <(edges)
declare -A uses_peer
for e in "${all[@]}"; do
  read -r from to _ <<<"$e"
  if [[ -n "${rank[$from]:-}" && "${rank[$from]}" == "${rank[$to]:-x}" ]]; then
    uses_peer[$from]=1
  fi
done

failed=0
for e in "${all[@]}"; do
  read -r from to where <<<"$e"
  if [[ -z "${rank[$from]:-}" ]]; then
    echo "check-layers: $where: folder $from/ has no layer" >&2
    failed=1
  elif [[ -z "${rank[$to]:-}" ]]; then
    echo "check-layers: $where: includes $to/, which has no layer" >&2
    failed=1
  elif ((rank[$to] < rank[$from])); then
    echo "check-layers: $where: $from/ includes $to/ of a higher layer" >&2
    failed=1
  elif ((rank[$to] == rank[$from])) && [[ -n "${uses_peer[$to]:-}" ]]; then
    echo "check-layers: $where: $from/ includes its peer $to/, which itself uses a peer" >&2
    failed=1
  fi
done
if ((failed)); then
  printf -v order '%s | ' "${LAYERS[@]}"
  echo "check-layers: the layers, highest first: ${order% | }" >&2
  exit 1
fi
echo "check-layers: ${#all[@]} includes across folders follow the layers"
