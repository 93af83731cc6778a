#!/usr/bin/env bash
# Builds the Debian package into a temporary folder, checks what it holds and what the
# validators say of it, unpacks it with dpkg-deb -x (nothing is installed into the system)
# and runs the unpacked programs with HOME and the XDG folders in a temporary folder.
# Usage: package_install.sh <build folder> <version>
set -euo pipefail

build=$1
version=$2
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$build/Sorvanti"

home=$work/home
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$home"
mkdir -m 700 "$XDG_RUNTIME_DIR"
root=$work/root
bin=$root/usr/bin
samples=$root/usr/share/sorvanti/辞書
settings=$XDG_CONFIG_HOME/Sorvanti/Sorvanti.ini
mine=$XDG_DATA_HOME/Sorvanti/辞書

# ---- the package ------------------------------------------------------------------------------
cpack -G DEB -B "$work/pkg" --config "$build/CPackConfig.cmake" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/pkg/sorvanti_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work/pkg")"
dpkg-deb -x "$deb" "$root"

expected_files='usr/bin/Sorvanti
usr/bin/sorvanti -> Sorvanti
usr/bin/sorvanti-convert
usr/share/applications/sorvanti.desktop
usr/share/doc/sorvanti/changelog.gz
usr/share/doc/sorvanti/copyright
usr/share/icons/hicolor/scalable/apps/sorvanti.svg
usr/share/icons/hicolor/scalable/mimetypes/application-x-sorvanti-svt.svg
usr/share/man/man1/Sorvanti.1.gz
usr/share/man/man1/sorvanti-convert.1.gz
usr/share/man/man1/sorvanti.1.gz -> Sorvanti.1.gz
usr/share/metainfo/org.example.sorvanti.metainfo.xml
usr/share/mime/packages/sorvanti.xml
usr/share/sorvanti/辞書/忍者語.txt
usr/share/sorvanti/辞書/関西弁.txt'
files=$(cd "$root" && find . ! -type d \( -type l -printf '%P -> %l\n' -o -printf '%P\n' \) |
    LC_ALL=C sort)
[ "$files" = "$(LC_ALL=C sort <<<"$expected_files")" ] || fail "the package holds:
$files"
for f in Sorvanti sorvanti-convert; do
    [ -x "$bin/$f" ] || fail "$f is not executable"
done

control=$(dpkg-deb -f "$deb")
for field in 'Package: sorvanti' "Version: $version" 'Architecture: amd64'; do
    grep -qx "$field" <<<"$control" || fail "no '$field' in:
$control"
done
depends=$(dpkg-deb -f "$deb" Depends)
# Found by dpkg-shlibdeps, and what it cannot find: the fonts, Qt's platform and SVG plug-ins
# and MeCab's library; its dictionary is recommended.
for dep in 'libqt6widgets6 (>= ' 'libc6 (>= ' 'fonts-ipafont-gothic | fonts-japanese-gothic' 'qt6-qpa-plugins' 'libqt6svg6' 'libmecab2'; do
    grep -qF "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
grep -qF 'mecab-ipadic-utf8' <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "mecab-ipadic-utf8 is not recommended"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 5 ] || fail "no long description"
# The caches are refreshed by the triggers of the packages that own them, not by scripts.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | LC_ALL=C sort | tr '\n' ' ')
[ "$scripts" = "control md5sums " ] || fail "control archive holds: $scripts"

# ---- what the validators say ----------------------------------------------------------------
desktop-file-validate "$root/usr/share/applications/sorvanti.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.sorvanti.metainfo.xml" ||
    fail "appstreamcli validate"
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/sorvanti.xml" "$work/mime/packages/"
update-mime-database "$work/mime" || fail "update-mime-database"
grep -qx '50:application/x-sorvanti-svt:\*\.svt' "$work/mime/globs2" || fail "no *.svt glob"
grep -qx 'application/x-sorvanti-svt:application-x-sorvanti-svt' "$work/mime/icons" ||
    fail "no document icon for the type"
grep -qx 'MimeType=application/x-sorvanti-svt;' "$root/usr/share/applications/sorvanti.desktop" ||
    fail "the desktop entry does not name the document type"
# lintian prints its warnings and information; errors fail the test.
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors"

# ---- sorvanti-convert before any start of the window: the shipped samples ------------------
sentence='ありがとう、とても助かりました'
out=$(printf '%s\n' "$sentence" | "$bin/sorvanti-convert" -d 関西弁 -e utf-8) ||
    fail "sorvanti-convert before the first start"
[ "$out" = 'おおきに、めっちゃ助かりました' ] || fail "sorvanti-convert gave: $out"
[ ! -e "$XDG_DATA_HOME/Sorvanti" ] || fail "sorvanti-convert made the user's folder"

# ---- the window -------------------------------------------------------------------------------
printf 'ありがとう、こんにちは\r\nさようなら' | iconv -f UTF-8 -t CP932 > "$work/文書.svt"

# One start of the unpacked program under a virtual X server, with the document above:
# pick the first dictionary when asked, click "変換", copy the lower pane, quit by the menu.
run_window() {
    local program=$1 pick=$2
    cat > "$work/session.sh" <<SESSION
set -eu
source "$work/session-lib.sh"
program_file="$program"
start_program "$work/文書.svt"
if [ "$pick" = pick ]; then
    # The dictionary selector's text, then the next (first) name of the list.
    xdotool mousemove --window "\$win" 60 37 click 1
    sleep 0.3
    xdotool key --window "\$win" Down
    sleep 0.5
fi
# "変換" on the tool bar, then the lower pane.
xdotool mousemove --window "\$win" 210 37 click 1
sleep 0.5
pane_text 190 240 "$work/lower.txt"
xdotool key --window "\$win" alt+f
sleep 0.5
xdotool key x
wait_end
SESSION
    rm -f "$work/lower.txt"
    run_in_x "$work/session.sh"
}

# First start through the "sorvanti" link: the samples are copied, the chosen one converts.
run_window "$bin/sorvanti" pick || fail "first start"
for f in 忍者語.txt 関西弁.txt; do
    cmp -s "$samples/$f" "$mine/$f" || fail "no copy of the sample $f in $mine"
done
lower=$(cat "$work/lower.txt")
[ "$lower" = $'かたじけない、お頼み申す\nさらばじゃ' ] || fail "the first start converted to:
$lower"
[ -f "$settings" ] || fail "no settings file at $settings"
grep -qx 'Name=忍者語' < <(iconv -f CP932 -t UTF-8 "$settings" | tr -d '\r') ||
    fail "the settings do not name the chosen dictionary"
leftovers=$(find "$root" -newer "$deb" ! -type d)
[ -z "$leftovers" ] || fail "written into the unpacked tree: $leftovers"

# The user's own words: the next start keeps and uses them, so does the converter.
printf 'ありがとう かたじけのうござった\r\n' | iconv -f UTF-8 -t CP932 > "$work/word"
cat "$work/word" "$mine/忍者語.txt" > "$work/ninja" && cp "$work/ninja" "$mine/忍者語.txt"
printf 'とても めっさ\r\n' | iconv -f UTF-8 -t CP932 > "$work/word"
cat "$work/word" "$mine/関西弁.txt" > "$work/kansai" && cp "$work/kansai" "$mine/関西弁.txt"
cp "$settings" "$work/settings.before"

run_window "$bin/Sorvanti" remembered || fail "second start"
cmp -s "$work/ninja" "$mine/忍者語.txt" || fail "the second start changed the user's 忍者語.txt"
cmp -s "$work/kansai" "$mine/関西弁.txt" || fail "the second start changed the user's 関西弁.txt"
lower=$(cat "$work/lower.txt")
[ "$lower" = $'かたじけのうござった、お頼み申す\nさらばじゃ' ] || fail "the second start converted to:
$lower"
cmp -s "$work/settings.before" "$settings" || fail "the settings changed without a change:
$(diff <(iconv -f CP932 -t UTF-8 "$work/settings.before") <(iconv -f CP932 -t UTF-8 "$settings"))"

out=$(printf '%s\n' "$sentence" | "$bin/sorvanti-convert" -d 関西弁 -e utf-8) ||
    fail "sorvanti-convert after the window"
[ "$out" = 'おおきに、めっさ助かりました' ] || fail "sorvanti-convert did not use the user's copy: $out"
echo "package install: ok"
