#!/usr/bin/env bash
# Times sorvanti-convert on the benchmark text against cat (the floor) and against perl
# running one ordered alternation of the dictionary's words over the UTF-8 form of the
# text, and checks that perl's output equals `sorvanti-convert -e utf-8` byte for byte.
# Word mode (--words: matches only on word boundaries from MeCab) is timed in the same run
# when the analyser's dictionary is installed.
#
# Usage: bench/compare.sh [BUILD_DIR]   (default: build)
# Environment: SORVANTI_CORPUS=DIR uses DIR/bench_dict.txt and DIR/bench_text.txt
#              instead of generating them; RUNS=n repetitions without hyperfine (default 5).
set -euo pipefail

build="${1:-build}"
convert="$build/sorvanti-convert"
runs="${RUNS:-5}"
[ -x "$convert" ] || { echo "compare.sh: $convert is missing (build first)" >&2; exit 1; }
command -v perl >/dev/null || { echo "compare.sh: perl is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

corpus="${SORVANTI_CORPUS:-}"
if [ -z "$corpus" ]; then
    corpus="$work/corpus"
    mkdir -p "$corpus"
    "$build/bench/make_corpus" "$corpus" >/dev/null
fi
dict="$corpus/bench_dict.txt"
text="$corpus/bench_text.txt"
for f in "$dict" "$text"; do
    [ -s "$f" ] || { echo "compare.sh: $f is missing or empty" >&2; exit 1; }
done
iconv -f CP932 -t UTF-8 "$dict" >"$work/dict8.txt"
iconv -f CP932 -t UTF-8 "$text" >"$work/text8.txt"

# Perl's alternation is first-match in the order written, like the engine's table order.
# The dictionary lines are taken apart like the program does for these words: blanks and
# tabs separate, "#" starts a comment, a lone word is no entry, 2000 entries at most.
cat >"$work/alternation.pl" <<'PERL'
use strict;
use warnings;
my ($dictFile, $textFile) = @ARGV;
open(my $d, '<', $dictFile) or die "$dictFile: $!";
my (@words, %to);
while (my $line = <$d>) {
    $line =~ s/\r?\n\z//;
    $line =~ s/\A[ \t]+//;
    next if $line eq '' || $line =~ /\A#/;
    my ($from, $into) = split /[ \t]+/, $line, 3;
    next unless defined $into && length $into;
    push @words, $from;
    $to{$from} //= $into;
    last if @words >= 2000;
}
close $d;
my $alternation = join '|', map { quotemeta } @words;
my $re = qr/($alternation)/;
open(my $t, '<', $textFile) or die "$textFile: $!";
while (my $line = <$t>) {
    $line =~ s/$re/$to{$1}/g;
    print $line;
}
PERL
perl_cmd=(perl -CSD "$work/alternation.pl" "$work/dict8.txt" "$work/text8.txt")

# Correctness first: perl and the UTF-8 mode must agree byte for byte.
"$convert" -d "$dict" -e utf-8 "$work/text8.txt" >"$work/out_utf8.txt"
"${perl_cmd[@]}" >"$work/out_perl.txt"
if ! cmp -s "$work/out_utf8.txt" "$work/out_perl.txt"; then
    echo "compare.sh: FAILED: perl's output differs from sorvanti-convert -e utf-8" >&2
    diff <(cat -n "$work/out_utf8.txt") <(cat -n "$work/out_perl.txt") | head -n 10 >&2 || true
    exit 1
fi
"$convert" -d "$dict" "$text" | iconv -f CP932 -t UTF-8 >"$work/out_cp932.txt"
if ! cmp -s "$work/out_cp932.txt" "$work/out_utf8.txt"; then
    echo "compare.sh: FAILED: -e cp932 and -e utf-8 give different text" >&2
    exit 1
fi

calc() { awk "BEGIN { print ($1) }"; }

# Seconds per run of a command (output to /dev/null): hyperfine's mean when it is
# installed, else the best of $runs runs.
seconds() {
    if command -v hyperfine >/dev/null; then
        local csv="$work/hyperfine.csv" cmd
        cmd="$(printf '%q ' "$@")"
        hyperfine --style none --warmup 1 --runs "$runs" --export-csv "$csv" \
            --output=null "$cmd" >/dev/null
        awk -F, 'NR == 2 { print $2 }' "$csv"
        return
    fi
    local best="" start end t
    for _ in $(seq "$runs"); do
        start="$(date +%s.%N)"
        "$@" >/dev/null
        end="$(date +%s.%N)"
        t="$(calc "$end - $start")"
        if [ -z "$best" ] || [ "$(calc "$t < $best")" = 1 ]; then best="$t"; fi
    done
    echo "$best"
}

bytes_cp932="$(stat -c %s "$text")"
bytes_utf8="$(stat -c %s "$work/text8.txt")"
entries="$(grep -c . "$dict" || true)"
echo "text: $bytes_cp932 bytes code page 932 ($bytes_utf8 bytes UTF-8); dictionary: $entries lines"
command -v hyperfine >/dev/null && echo "timing: hyperfine, mean of $runs runs" ||
    echo "timing: best of $runs runs"

t_cat="$(seconds cat "$text")"
t_cp932="$(seconds "$convert" -d "$dict" "$text")"
t_utf8="$(seconds "$convert" -d "$dict" -e utf-8 "$work/text8.txt")"
t_perl="$(seconds "${perl_cmd[@]}")"
t_words=""
if "$convert" -d "$dict" --words </dev/null >/dev/null 2>"$work/words.err"; then
    t_words="$(seconds "$convert" -d "$dict" --words "$text")"
else
    echo "word mode: not timed ($(cat "$work/words.err"))"
fi

row() { # name seconds bytes
    printf '%-34s %8.3f s %10.1f MB/s\n' "$1" "$2" "$(calc "$3 / $2 / 1000000")"
}
row "cat (floor)" "$t_cat" "$bytes_cp932"
row "sorvanti-convert -e cp932" "$t_cp932" "$bytes_cp932"
row "sorvanti-convert -e utf-8" "$t_utf8" "$bytes_utf8"
[ -z "$t_words" ] || row "sorvanti-convert --words (cp932)" "$t_words" "$bytes_cp932"
row "perl alternation (UTF-8)" "$t_perl" "$bytes_utf8"

ratio() { calc "$1 / $2"; }
mbs_cp932="$(calc "$bytes_cp932 / $t_cp932 / 1000000")"
r_cp932="$(ratio "$t_perl" "$t_cp932")"
r_utf8="$(ratio "$t_perl" "$t_utf8")"
printf 'cp932 vs perl: %.1fx   utf-8 vs perl: %.1fx   cp932 vs cat: %.1fx slower\n' \
    "$r_cp932" "$r_utf8" "$(ratio "$t_cp932" "$t_cat")"

verdict() { # label ok
    if [ "$2" = 1 ]; then echo "  met:    $1"; else echo "  MISSED: $1"; fi
}
echo "targets:"
verdict "-e cp932 >= 150 MB/s" "$(calc "$mbs_cp932 >= 150")"
verdict "-e cp932 >= 10x perl" "$(calc "$r_cp932 >= 10")"
verdict "-e utf-8 >= 3x perl" "$(calc "$r_utf8 >= 3")"
if [ -n "$t_words" ]; then
    printf 'word mode vs plain: %.1fx slower   vs perl: %.1fx\n' \
        "$(ratio "$t_words" "$t_cp932")" "$(ratio "$t_perl" "$t_words")"
    verdict "--words >= 5 MB/s" "$(calc "$bytes_cp932 / $t_words / 1000000 >= 5")"
fi
echo "perl output equals -e utf-8 output: yes"
