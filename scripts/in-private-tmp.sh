#!/usr/bin/env bash
# Runs a command in a mount namespace of its own, with empty /tmp and /dev/shm,
# so that tests of the daemon's fixed /tmp endpoints and of its shared-memory
# log never meet another test or a daemon running on the same machine.
set -euo pipefail
exec unshare --mount --propagation private -- /bin/sh -c \
    'mount -t tmpfs tmpfs /tmp && mount -t tmpfs tmpfs /dev/shm && exec "$@"' sh "$@"
