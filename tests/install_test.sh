#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that both programs run
# from there and that both manual pages render without warnings.
#   tests/install_test.sh BUILD_DIR SAMPLE.bmp
set -euo pipefail
build=${1:?build directory}
sample=${2:?sample screen grab}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/ombrix2grf bin/grfview share/man/man1/ombrix2grf.1 share/man/man1/grfview.1; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

work="$prefix/work"
mkdir "$work"
cp "$sample" "$work/shot.bmp"
(cd "$work" && "$prefix/bin/ombrix2grf" shot.bmp >/dev/null)
[ -s "$work/shot.grf" ] || { echo "installed ombrix2grf wrote no shot.grf"; exit 1; }
(cd "$work" && "$prefix/bin/grfview" shot.grf)
[ -s "$work/shot.png" ] || { echo "installed grfview wrote no shot.png"; exit 1; }
[ "$("$prefix/bin/grfview" --version)" = "grfview 0.1" ]

for page in ombrix2grf grfview; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page.1: $warnings"; exit 1; }
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/$page.1" | grep -q "EXIT STATUS" \
    || { echo "$page.1 does not render"; exit 1; }
done
echo "installed and ran from $prefix; manual pages render cleanly"
