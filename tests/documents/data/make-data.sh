#!/usr/bin/env bash
# Remakes the RTF files that other programs wrote, kept here as test data. Needs LibreOffice
# Writer (libreoffice-writer-nogui) and pandoc, which only this script uses: the project does
# not depend on them.
#   libreoffice-writer-sample.rtf   writer-sample.html (Japanese text, fonts, colours, bold,
#                                   italic, underline, strike-out, picture.png, a table)
#                                   opened in Writer and saved as RTF
#   pandoc-sample.rtf               pandoc-sample.md converted by pandoc
#   libreoffice-resaved-sample.rtf  sorvanti-sample.rtf opened in Writer and saved again;
#                                   sorvanti-sample.rtf is what this program's RTF writer
#                                   writes for writerSample() in ../RtfForeignFilesTest.cpp
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
soffice --headless --infilter="HTML (StarWriter)" --convert-to 'rtf:Rich Text Format' \
    --outdir "$work/html" writer-sample.html
cp "$work/html/writer-sample.rtf" libreoffice-writer-sample.rtf
soffice --headless --convert-to 'rtf:Rich Text Format' --outdir "$work/resaved" sorvanti-sample.rtf
cp "$work/resaved/sorvanti-sample.rtf" libreoffice-resaved-sample.rtf
pandoc -s -f markdown -t rtf pandoc-sample.md -o pandoc-sample.rtf
