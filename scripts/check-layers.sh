#!/usr/bin/env bash
# Fails, listing file:line, when code includes or links a layer above its own
# or beside it. The layers of src/, lowest first; a folder may use its own
# folder and the folders to its left:
#
#   runtime <- rpc <- pubsub, platform, problemreport <- clients <- audio
#           <- plugins <- api <- gateway
#
# src/main.cc, the entry point, may use every layer. sim/ stands on runtime and
# rpc only, and nothing in src/ uses sim/ or tests/. Generated schema headers
# (*.pb.h) may be included anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

layers='runtime:0 rpc:1 pubsub:2 platform:2 problemreport:2 clients:3 audio:4 plugins:5 api:6 gateway:7'

folders=(src)
[ -d sim ] && folders+=(sim)

# One line per use: "include <file> <line> <header>" and "link <file> <line> <target>".
uses() {
    grep -rnE --include='*.h' --include='*.cc' --include='*.inc' \
        '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${folders[@]}" |
        sed -E 's/^([^:]+):([0-9]+):.*"([^"]+)".*/include \1 \2 \3/' || true
    find src -name CMakeLists.txt -path 'src/*/*' | while read -r file; do
        grep -noE '\bvanta_[a-z_]+' "$file" | sed -E "s|^([0-9]+):(.*)|link $file \1 \2|" || true
    done
}

uses | awk -v layers="$layers" '
    BEGIN {
        n = split(layers, pairs, " ")
        for (i = 1; i <= n; i++) { split(pairs[i], kv, ":"); rank[kv[1]] = kv[2] }
        rank["main"] = 8
    }
    # The folder a file belongs to: "main" for files directly in src/.
    function owner(path,    parts) {
        split(path, parts, "/")
        if (parts[1] == "sim") return "sim"
        return (parts[3] == "") ? "main" : parts[2]
    }
    function allowed(from, to) {
        if (from == to) return 1
        if (from == "sim") return to == "runtime" || to == "rpc"
        return (from in rank) && (to in rank) && rank[to] < rank[from]
    }
    {
        kind = $1; file = $2; line = $3; target = $4; from = owner(file)
        if (kind == "include") {
            if (target ~ /\.pb\.h$/) next
            to = (index(target, "/") > 0) ? substr(target, 1, index(target, "/") - 1) : from
        } else {
            split(substr(target, 7), words, "_"); to = words[1]
            if (to == "proto" || to == "library" || to == "executable") next
            if (to == "test") to = "tests"
        }
        if (!allowed(from, to)) {
            printf "%s:%s: %s may not %s %s\n", file, line, from, kind, target
            bad = 1
        }
    }
    END { exit bad }
' || { echo "check-layers: the files above use a layer above or beside their own" >&2; exit 1; }
