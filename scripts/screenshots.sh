#!/usr/bin/env bash
# Renders the program's windows to PNG files:
#   scripts/screenshots.sh BUILD_DIR OUTDIR
# The main window is shown on the catalogue of this machine's fonts (built
# on first use, as for `make run`), once more with a catalogue that cannot
# be opened, in the state it keeps then, and once more on a screen of 144
# pixels per inch (under 144dpi/), where every window scales itself; and
# the first pages of a specimen book and of one with character sets and
# OpenType features (under specimen/).
set -euo pipefail
build=$1 out=$2
mkdir -p "$out"
bash scripts/ensure-catalogue.sh "$build"
conf="$(cd "$build/.." && pwd)/data/engine.conf"
export QT_QPA_PLATFORM=offscreen
# A runtime directory of its own, so that a running copy of the program
# does not make the rendered one stand down as a second copy.
runtime=$(mktemp -d) broken=$(mktemp -d)
trap 'rm -rf "$broken" "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
PELLORY_ENGINE_CONFIG=$conf "$build/bin/pellory-screenshots" "$out"
# No catalogue: an alias that names a folder without one.
printf '[engine]\nlibrary_dir = %s\n[alias pellory]\npath = %s\n' \
  "$(cd "$build/bin" && pwd)" "$broken/missing" >"$broken/engine.conf"
PELLORY_ENGINE_CONFIG=$broken/engine.conf "$build/bin/pellory-screenshots" "$broken/out" >/dev/null
cp "$broken/out/main-window.png" "$out/main-window-no-catalogue.png"
# A screen of 144 pixels per inch, described to the offscreen platform.
printf '{"screens": [{"name": "dpi144", "x": 0, "y": 0, "width": 1600, "height": 1200, %s}]}\n' \
  '"logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1' >"$broken/dpi144.json"
QT_QPA_PLATFORM=offscreen:configfile=$broken/dpi144.json PELLORY_ENGINE_CONFIG=$conf \
  "$build/bin/pellory-screenshots" "$out/144dpi" >/dev/null
# The sample pictures the catalogue builder draws for faces of many scripts
# (those of them installed: fonts-noto-core, fonts-noto-cjk).
faces=()
for f in /usr/share/fonts/truetype/noto/NotoSans{Arabic,Hebrew,Devanagari,Thai,Armenian,Georgian,Ethiopic,Bengali}-Regular.ttf \
  /usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf /usr/share/fonts/truetype/noto/NotoSerifTamil-Regular.ttf \
  /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc:2 /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc:0 \
  /usr/share/fonts/truetype/noto/NotoSansSymbols-Regular.ttf /usr/share/fonts/truetype/noto/NotoSans-Regular.ttf \
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
  /usr/share/fonts/truetype/noto/NotoSans{Cherokee,Syriac,Thaana,NKo,Tifinagh,Mongolian}-Regular.ttf \
  /usr/share/fonts/truetype/noto/NotoTraditionalNushu-Regular.ttf /usr/share/fonts/truetype/noto/NotoNastaliqUrdu-Regular.ttf \
  /usr/share/fonts/truetype/noto/NotoColorEmoji.ttf /usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf \
  /usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf /usr/share/fonts/truetype/noto/NotoSansTamilSupplement-Regular.ttf \
  /usr/share/fonts/truetype/noto/NotoSansSymbols-{Regular,Black}.ttf; do
  [[ -e ${f%:*} ]] && faces+=("$f")
done
# Every named instance of Inter and Inter Display (fonts-inter-variable),
# thin to black: the default instance, then instances 1 to 18 but the one
# at the axes' defaults, which fontconfig does not list.
for f in /usr/share/fonts/truetype/inter-vf/{Inter,InterDisplay}.var.ttf; do
  [[ -e $f ]] || continue
  while read -r index; do faces+=("$f:$index"); done < <(fc-scan --format '%{index} %{variable}\n' "$f" | awk '$2 == "False" {print $1}' | sort -n)
done
if ((${#faces[@]})); then
  "$build/bin/pellory-sample-sheet" "$broken/samples.bmp" "${faces[@]}"
  python3 scripts/bmp-to-png.py "$broken/samples.bmp" "$out/sample-pictures.png"
fi
# The first pages of a specimen book of the machine's catalogue, as PNG.
if command -v pdftoppm >/dev/null; then
  mkdir -p "$out/specimen"
  PELLORY_ENGINE_CONFIG=$conf "$build/bin/pellory-specimen" --quiet --category Handwriting \
    --text "Quick wafting zephyrs 0123 שלום عالم" -o "$broken/specimen.pdf"
  pdftoppm -r 80 -png -f 1 -l 4 "$broken/specimen.pdf" "$out/specimen/page"
  # Linux Libertine's faces with small capitals, old-style figures, no
  # ligatures and a stylistic set, then their character sets.
  PELLORY_ENGINE_CONFIG=$conf "$build/bin/pellory-specimen" --quiet \
    --filter "[Font Name] = 'Linux Libertine O*'" --sizes 12,24 \
    --text "Office of 1234567890 flights, Quick wafting zephyrs" \
    --features smcp,onum,-liga,ss01 --charset -o "$broken/features.pdf"
  pdftoppm -r 80 -png -f 1 -l 6 "$broken/features.pdf" "$out/specimen/features"
else
  echo "pdftoppm (Debian package poppler-utils) is missing: no pages of a specimen book" >&2
fi
ls "$out" "$out/144dpi"
