#!/usr/bin/env bash
# Runs a command in a mount namespace of its own with an empty /dev/shm, so
# that the shared-memory log ("log_data") of the code under test is its own,
# and an empty /tmp, so that tests of the daemon's fixed /tmp endpoints never
# meet another test or a daemon running on the same machine. With --shm-only
# /tmp stays the machine's. The crash-dump folder is private as well (made
# first where the machine has none and the user may), so that a test which
# makes the daemon crash leaves no dump behind.
# When the command itself lives under /tmp (a build folder there), that
# top-level folder is carried over into the new /tmp.
#
# Root needs nothing more; any other user becomes root in a user namespace of
# its own (unshare --map-root-user), which the kernel must allow (Debian's
# does).
set -euo pipefail

private_tmp=1
if [ "${1:-}" = "--shm-only" ]; then
    private_tmp=0
    shift
fi
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(--user --map-root-user)

exec unshare "${as_root[@]}" --mount --propagation private -- /bin/bash -c '
    set -euo pipefail
    private_tmp=$1
    shift
    mount -t tmpfs tmpfs /dev/shm
    [ -d /crashlog ] || mkdir /crashlog 2>/dev/null || true
    if [ -d /crashlog ]; then
        mount -t tmpfs tmpfs /crashlog
        mkdir -p /crashlog/dumpfiles
    fi
    if [ "$private_tmp" = 1 ]; then
        program=$(readlink -f "$1")
        keep=""
        case "$program" in
            /tmp/*) rest=${program#/tmp/}; keep=${rest%%/*} ;;
        esac
        # The new /dev/shm holds the kept folder while /tmp is replaced.
        if [ -n "$keep" ]; then
            mkdir /dev/shm/kept
            mount --bind "/tmp/$keep" /dev/shm/kept
        fi
        mount -t tmpfs tmpfs /tmp
        if [ -n "$keep" ]; then
            mkdir "/tmp/$keep"
            mount --bind /dev/shm/kept "/tmp/$keep"
            umount /dev/shm/kept
            rmdir /dev/shm/kept
        fi
    fi
    exec "$@"' bash "$private_tmp" "$@"
