#!/usr/bin/env bash
# Runs VarnekJPG against the bundled simulated camera, in a demo folder of its own under
# build/demo with its own settings file: the user's own settings are never touched.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
ensure_packages

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

demo=$PWD/build/demo
mkdir -p "$demo/program" "$demo/config"
port=${VARNEK_DEMO_PORT:-8765}

# VARNEK_DEMO_RECORDING_SIZE (bytes) makes the card's recordings as big as a real camera's.
./build/varnek-fakecam --port "$port" --user admin --password pelto \
  --recording-size "${VARNEK_DEMO_RECORDING_SIZE:-1048576}" &
cam=$!
trap 'kill $cam 2>/dev/null || true' EXIT
sleep 0.5

url="http://127.0.0.1:$port/tmpfs/auto.jpg"
if [ -x build/varnekjpg ]; then
  export XDG_CONFIG_HOME=$demo/config
  conf=$XDG_CONFIG_HOME/VarnekJPG/VarnekJPG.conf
  # The demo's settings always point at the demo camera; anything else in the file is kept.
  mkdir -p "$(dirname "$conf")"
  if [ -f "$conf" ] && grep -q '^HTML=' "$conf"; then
    sed -i "s|^HTML=.*|HTML=$url|; s|^UserName=.*|UserName=admin|; s|^Password=.*|Password=pelto|" "$conf"
  else
    { printf '[General]\nHTML=%s\nUserName=admin\nPassword=pelto\n' "$url"; if [ -f "$conf" ]; then cat "$conf"; fi; } > "$conf.new"
    mv "$conf.new" "$conf"
  fi
  chmod 600 "$conf"
  cd "$demo/program"
  "$OLDPWD/build/varnekjpg" "$@"
else
  echo "The simulated camera is running."
  echo "  Snapshot URL: $url"
  echo "  User name:    admin"
  echo "  Password:     pelto"
  echo "Press Ctrl+C to stop it."
  wait $cam
fi
