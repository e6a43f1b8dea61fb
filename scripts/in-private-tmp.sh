#!/usr/bin/env bash
# Runs a command in a mount namespace of its own, with empty /tmp and /dev/shm,
# so that tests of the daemon's fixed /tmp endpoints and of its shared-memory
# log never meet another test or a daemon running on the same machine. The
# crash-dump folder, when the machine has one, is private as well: a test that
# makes the daemon crash leaves no dump behind.
# When the command itself lives under /tmp (a build folder there), that
# top-level folder is carried over into the new /tmp.
set -euo pipefail
exec unshare --mount --propagation private -- /bin/bash -c '
    set -euo pipefail
    program=$(readlink -f "$1")
    keep=""
    case "$program" in
        /tmp/*) rest=${program#/tmp/}; keep=${rest%%/*} ;;
    esac
    old=/run/vanta-private-tmp
    mkdir -p "$old"
    mount --bind /tmp "$old"
    mount -t tmpfs tmpfs /tmp
    mount -t tmpfs tmpfs /dev/shm
    if [ -d /crashlog ]; then
        mount -t tmpfs tmpfs /crashlog
        mkdir -p /crashlog/dumpfiles
    fi
    if [ -n "$keep" ]; then
        mkdir -p "/tmp/$keep"
        mount --bind "$old/$keep" "/tmp/$keep"
    fi
    umount -l "$old"
    exec "$@"' bash "$@"
