#!/usr/bin/env bash
# Checks that every file of the core includes only from its own layer and the layers below:
#   session -> stats, store -> engine -> the root (errors, checked)
# stats and store are side by side and do not include each other. A core header is always
# named with its layer folder ("engine/cards.h"); a bare name must be a root header.
# The desktop program's parts (src/app/parts) include only each other and the core, never a
# window.
set -euo pipefail
cd "$(dirname "$0")/../src/core"

allowed() {
  case "$1" in
    .) echo "." ;;
    engine) echo ". engine" ;;
    stats) echo ". engine stats" ;;
    store) echo ". engine store" ;;
    session) echo ". engine stats store session" ;;
    *) echo "" ;;
  esac
}

failures=0
while IFS= read -r file; do
  layer=$(dirname "$file")
  layer=${layer#./}
  [ "$layer" = "" ] && layer="."
  permitted=$(allowed "$layer")
  if [ -z "$permitted" ]; then
    echo "$file: not in a layer folder (engine, stats, store, session or the root)"
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r included; do
    if [[ "$included" == */* ]]; then
      target=${included%%/*}
    else
      target="."
      if [ ! -f "$included" ]; then
        echo "$file: includes \"$included\", which is not a root header (name it with its layer)"
        failures=$((failures + 1))
        continue
      fi
    fi
    if [[ " $permitted " != *" $target "* ]]; then
      echo "$file: includes \"$included\" from a layer above or beside its own ($layer)"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sort)

cd ../app/parts
while IFS= read -r file; do
  while IFS= read -r included; do
    case "$included" in
      parts/*) [ -f "../$included" ] && continue ;;
      engine/* | stats/* | store/* | session/*) continue ;;
      */*) ;;
      *) [ -f "../../core/$included" ] && continue ;;
    esac
    echo "app/parts/${file#./}: includes \"$included\", which is neither a part nor the core"
    failures=$((failures + 1))
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sort)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) against the layers" >&2
  exit 1
fi
echo "check-layers: the core's and the parts' includes point down"
