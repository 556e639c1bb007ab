# Shared by the install tests: a throw-away root folder, an installation into it, a stable listing of a
# folder, and running a program as a user who cannot write the installation.

# A fresh folder that everyone may enter (the other user must reach the programs in it), removed at exit
# with everything in it, read-only parts included.
make_root() {
  root=$(mktemp -d /tmp/zelk-install-XXXXXX)
  chmod 755 "$root"
  trap 'chmod -R u+w "$root" 2>/dev/null; rm -rf "$root"' EXIT
}

# Every file and folder under $1 with its type, mode, size, modification time and content checksum: two
# listings differ when anything under it was created, removed, changed or touched.
listing() {
  (cd "$1" && find . -printf '%y %m %s %T@ %p\n' | sort &&
    find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

# As root the programs run as "nobody" (setpriv), who cannot write the installation even where the
# permission bits would let root; without setpriv, and for other users, as the user running the tests.
run_user=$(id -un)
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
  run_user=nobody
fi

# Runs a command as $run_user with a home of its own ($home, made by make_home) and the offscreen platform.
as_user() {
  local env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" LANG=C.UTF-8
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@")
  if [ "$run_user" = "$(id -un)" ]; then
    "${env[@]}"
  else
    setpriv --reuid="$run_user" --regid="$(id -g "$run_user")" --clear-groups "${env[@]}"
  fi
}

# $home: the running user's own home folder inside the root.
make_home() {
  home="$root/home"
  mkdir -p "$home"
  chown "$run_user" "$home"
}

# (Output is checked from a variable, never piped into "grep -q": grep stops reading at the first match,
# and under pipefail the writer's broken pipe would fail the test when it had not finished writing.)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
