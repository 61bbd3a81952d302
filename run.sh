#!/usr/bin/env bash
# One entry point for setting up, building, testing and playing on Debian 12.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-image-formats-plugins
  qt6-multimedia-dev
  libode-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth dbus
  libgl1-mesa-dri libglx-mesa0 libgl-dev
  fonts-wqy-microhei
)

usage() {
  cat <<TXT
usage: ./run.sh <command>
  setup   install the Debian packages that are missing
  build   setup, then configure and build into ${BUILD_DIR#"$ROOT"/}
  test    build, then run every test (inside Xvfb and a session bus when needed)
  play    build, then start a local game on this display
TXT
}

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

cmd_setup() {
  local missing
  missing=$(missing_packages)
  if [ -z "$missing" ]; then
    return 0
  fi
  echo "run.sh: installing:" $missing
  as_root apt-get update -q
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $missing
}

cmd_build() {
  cmd_setup
  local werror=OFF
  if [ -n "${CI:-}" ] && [ "${CI}" != "false" ]; then werror=ON; fi
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DBILLIARDS_WERROR=$werror >/dev/null
  cmake --build "$BUILD_DIR" -j "${JOBS:-$(nproc)}"
}

# Starts a private X server and exports its DISPLAY. The server picks a free
# display number itself (-displayfd), so parallel runs never race for one.
start_xvfb() {
  local dir fifo num
  dir=$(mktemp -d)
  fifo=$dir/displayfd
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp +extension GLX +render -noreset \
    3>"$fifo" >"$dir/xvfb.log" 2>&1 &
  XVFB_PID=$!
  if ! read -r -t 30 num <"$fifo"; then
    echo "run.sh: Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
  fi
  rm -rf "$dir"
  export DISPLAY=:$num
  trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
}

# Runs "$@" with a display and a session bus, starting whichever is missing.
with_session() {
  if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
  fi
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    dbus-run-session -- "$@"
  else
    "$@"
  fi
}

cmd_test() {
  cmd_build
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
  with_session ctest --test-dir "$BUILD_DIR" --output-on-failure -j "${JOBS:-$(nproc)}" "$@"
}

# Until the table program is assembled, a local game is the practice table:
# the real desk control, hosted exactly as the program will host it.
cmd_play() {
  cmd_build
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: play needs a display (DISPLAY is not set)" >&2
    exit 1
  fi
  exec "$BUILD_DIR/bin/desk-practice" --res "$BUILD_DIR/res" "$@"
}

case "${1:-}" in
  setup) cmd_setup ;;
  build) cmd_build ;;
  test) shift; cmd_test "$@" ;;
  play) shift; cmd_play "$@" ;;
  *) usage; [ -z "${1:-}" ] && exit 0 || exit 2 ;;
esac
