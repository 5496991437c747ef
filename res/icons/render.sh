#!/usr/bin/env bash
# Renders quorlis.svg to the committed PNGs after the drawing changes (needs rsvg-convert, from
# Debian's librsvg2-bin). The build embeds the PNGs as they are, so it never needs this.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quorlis.svg -o "quorlis-$size.png"
done
