# Sourced by the clang-based checks: writes build/tidy/compile_commands.json, a copy of the
# Debug build's compile database without the GCC code generation options clang does not know.
database=build/debug/compile_commands.json
[ -f "$database" ] || { echo "$(basename "$0"): run 'cmake --preset default' first" >&2; exit 1; }
mkdir -p build/tidy
python3 - "$database" build/tidy/compile_commands.json <<'PY'
import json, sys
entries = json.load(open(sys.argv[1]))
for entry in entries:
    entry["command"] = " ".join(word for word in entry["command"].split()
                                if not word.startswith("-mmemset-strategy"))
json.dump(entries, open(sys.argv[2], "w"))
PY
