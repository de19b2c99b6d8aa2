#!/usr/bin/env bash
# Brings translations/*.ts up to date with the window's texts: tr() in the widgets, pages and
# window, and the model's texts marked with LARK_WORDS (model/Words.h). New texts arrive
# unfinished for the translators (Qt Linguist); texts no longer used are dropped.
#   update-translations.sh [ts files...]   (default: every translations/*.ts)
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
files=("$@")
((${#files[@]})) || files=(translations/*.ts)
"$lupdate" -silent -no-obsolete -locations none -extensions cpp,h \
  -tr-function-alias QT_TRANSLATE_NOOP+=LARK_WORDS -I src \
  src/model src/widgets src/pages src/app -ts "${files[@]}"
