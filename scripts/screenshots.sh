#!/usr/bin/env bash
# Regenerates the README's pictures in docs/images/: the two editor dialogs, opened through the
# host tool under Wine on a private Xvfb display and copied from the screen, and the twenty themes
# drawn from the module's theme table.
set -euo pipefail
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
cd "$(dirname "$self")/.."

bin=build/x86_64/bin
work=build/x86_64/screenshots
images=docs/images

# Runs on the private display that the outer half starts below.
capture() {
  export ZARNEL_WINDOWS_BUILD=${ZARNEL_WINDOWS_BUILD:-22000} ZARNEL_DWMAPI=${ZARNEL_DWMAPI:-n}
  export ZARNEL_TIMEOUT=${ZARNEL_TIMEOUT:-90}
  rm -rf "$work"
  mkdir -p "$work" "$images"
  # This Wine does not load the fonts in its data directory: without these in the prefix the
  # dialog font ("MS Shell Dlg" is Tahoma) falls back and the caption buttons show Marlett's letters.
  local fonts
  fonts=$(build/x86_64/run_wine.sh winepath -u 'C:\windows\Fonts' 2>/dev/null)
  [ -d "$fonts" ] || { echo "screenshots: no fonts directory in the Wine prefix" >&2; exit 1; }
  for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
    [ -f "$fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$fonts/"
  done
  # The editors wait for OK; window_shot closes each one once copied, and "dismiss" is the fallback.
  cat > "$work/editors.zs" <<'ZS'
dismiss 30000 cancel
edit zrnZarnel_ApplyTheme 6 0
dismiss 30000 cancel
edit zrnZarnel_SetButtons 1 0 1
ZS
  build/x86_64/run_wine.sh "$bin/plugin_host.exe" --hidden --quiet \
    "$bin/ZarnelPlugin_Enhanced.dll" "$work/editors.zs" > "$work/host.log" 2>&1 &
  local host=$!
  local failed=0
  build/x86_64/run_wine.sh "$bin/window_shot.exe" --close "Choose Theme" \
    "$work/choose_theme.bmp" || failed=1
  build/x86_64/run_wine.sh "$bin/window_shot.exe" --close "Title Bar Buttons" \
    "$work/title_bar_buttons.bmp" || failed=1
  wait "$host" || { echo "screenshots: the host tool failed:" >&2; cat "$work/host.log" >&2; failed=1; }
  build/x86_64/run_wine.sh "$bin/theme_swatches.exe" "$work/themes.bmp" || failed=1
  [ "$failed" -eq 0 ] || exit 1
  for name in choose_theme title_bar_buttons themes; do
    convert "$work/$name.bmp" -strip -define png:compression-level=9 "$images/$name.png"
    echo "screenshots: $images/$name.png ($(identify -format '%wx%h' "$images/$name.png"))"
  done
}

if [ "${1:-}" = --on-display ]; then
  capture
  exit 0
fi

bash scripts/setup.sh
install_packages() {
  echo "screenshots: installing $*"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "$@" ||
    { "${sudo[@]}" apt-get update -q && "${sudo[@]}" apt-get install -y -q --no-install-recommends "$@"; }
}

# A stand-in "convert" may sit earlier in PATH; only ImageMagick's own names itself on -version.
[[ $(convert -version 2>/dev/null) == "Version: ImageMagick"* ]] || install_packages imagemagick
[ -f /usr/share/wine/fonts/marlett.ttf ] || install_packages fonts-wine
bash scripts/build.sh
# A display of its own, so nothing else on the screen gets into the copies.
xvfb-run -a -s "-screen 0 1024x768x24" bash "$self" --on-display 2> >(grep -v '^X connection to' >&2)
