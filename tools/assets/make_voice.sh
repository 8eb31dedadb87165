#!/usr/bin/env bash
# Records the spoken countdown of the trial with espeak-ng's Japanese voice.
# The clips are committed under data/assets/voice/ so that every build mixes
# the same speech into the countdown sounds; run this again only to change
# them (tests/assets checks that it reproduces the committed files).
#
#   tools/assets/make_voice.sh [OUTDIR]
#
# espeak-ng reads kana only (kanji such as 秒 come out as foreign letters),
# so every line is written in hiragana.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/../../data/assets/voice}"
if ! command -v espeak-ng >/dev/null 2>&1; then
    echo "make_voice.sh: espeak-ng is not installed (apt-get install espeak-ng)" >&2
    exit 1
fi
mkdir -p "$out"
while IFS='|' read -r name text; do
    [ -z "$name" ] && continue
    espeak-ng -v ja -s 135 -p 52 -a 150 -g 2 -w "$out/$name" "$text"
done <<'LINES'
min02.wav|あと にふん
min01.wav|あと いっぷん
sec30.wav|あと さんじゅうびょう
sec20.wav|あと にじゅうびょう
sec10.wav|あと じゅうびょう
sec05.wav|ご
sec04.wav|よん
sec03.wav|さん
sec02.wav|に
sec01.wav|いち
LINES
