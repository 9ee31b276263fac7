#!/usr/bin/env bash
# An installed station on a read-only system: installs the build into a staging
# root (as the package does), mounts that root read-only in a private mount
# namespace, puts a start-up settings file beside the executable, and runs the
# installed quorel. The station must read that file, keep its own files in the
# user's data folder, and write its exit log there.
# Usage: installed_layout.sh <build dir>
set -euo pipefail
build=$1
if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null; then
  echo "SKIP: a read-only mount needs root and unshare"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
bin="$tmp/root/usr/bin"
test -x "$bin/quorel"
test -f "$tmp/root/usr/share/applications/quorel.desktop"
test -f "$tmp/root/usr/share/icons/hicolor/scalable/apps/quorel.svg"

# The file beside the executable names the station and saves the record at exit.
printf '%s\r\n' '999:＜番号付き表示設定ファイル２＞' '166:Installed:パソコン名' '075:on:表示文の自動保存をするか？' |
  iconv -f UTF-8 -t CP932 > "$bin/自動読込表示設定.dp9"
mkdir -p "$tmp/data" "$tmp/run"
chmod 700 "$tmp/run"

# Enough captions from another process that the exit log is written. They
# start once the station listens (it logs where its files go first).
feed() {
  for _ in $(seq 1 200); do
    grep -q "files are kept in" "$tmp/out" 2>/dev/null && break
    sleep 0.1
  done
  sleep 1
  for i in $(seq 1 30); do
    printf 'caption %s' "$i" > /dev/udp/127.0.0.1/6711 || true
    sleep 0.05
  done
}
feed &
feeder=$!
unshare --mount bash -c '
  set -e
  mount --bind "$1" "$1"
  mount -o remount,bind,ro "$1"
  ! touch "$2/write-test" 2>/dev/null
  exec env XDG_DATA_HOME="$3" XDG_RUNTIME_DIR="$4" QT_QPA_PLATFORM=offscreen \
    timeout -s TERM 12 "$2/quorel"
' _ "$tmp/root" "$bin" "$tmp/data" "$tmp/run" > "$tmp/out" 2>&1 || true
wait "$feeder" || true

fail() {
  echo "FAIL: $1"
  echo "--- station output:"
  cat "$tmp/out"
  echo "--- data folder:"
  ls -la "$tmp/data/quorel" 2>&1 || true
  exit 1
}
grep -q "files are kept in $tmp/data/quorel/" "$tmp/out" || fail "files not kept in the data folder"
grep -q "start-up settings from $bin/" "$tmp/out" || fail "the start-up file beside the executable was not read"
ls "$tmp/data/quorel/"*.txt >/dev/null 2>&1 || fail "no exit log in the data folder"
grep -q "caption 30" "$tmp/data/quorel/"*.txt || fail "the exit log lacks the captions"
if ls "$tmp/root/usr/bin/"*.txt >/dev/null 2>&1; then fail "a file was written beside the executable"; fi
echo "PASS: installed layout keeps its files in $tmp/data/quorel"
