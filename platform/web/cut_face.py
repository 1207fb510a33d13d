#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""cut_face.py <face.ttf> <out.woff2> <name.dat> <source files...>

Cuts the face the page ships to the characters the game can show: every character
of its texts (the non-ASCII ones of the game's sources, the customers' names in
name.dat, CP932), printable ASCII, the kana and the full-width forms a player's
name is typed in. The browser's own face draws anything else. Glyphs, metrics and
layout features are kept as they are, so what is drawn stays the same."""
import sys

from fontTools import subset

# The characters FreeType's auto-hinter measures a CJK face by (its standard widths
# and blue zones). Linux browsers hint text with it: a face missing some of them is
# measured differently and every glyph lands a little differently. Latin is measured
# by ASCII letters; the Greek the game's texts use, by the whole Greek alphabet
# (kept below).
AUTOHINT_CJK = ('田囗'
                '他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現理用置要軍那配里開雷露面顾'
                '个为人他以们你來個們到和大对對就我时時有来為要說说主些因它想意理生當看着置者自著裡过还进進過道還里面')


def wanted(name_dat, sources):
    chars = {chr(c) for c in range(0x20, 0x7F)} | set(AUTOHINT_CJK)
    ranges = [(0x0391, 0x03C9), (0x3000, 0x303F), (0x3041, 0x3096), (0x3099, 0x30FF), (0xFF01, 0xFF9F), (0x2010, 0x203B),
              (0x2190, 0x2193), (0x25A0, 0x25CF), (0x2605, 0x2606)]
    for lo, hi in ranges:
        chars.update(chr(c) for c in range(lo, hi + 1))
    with open(name_dat, 'rb') as f:
        chars.update(f.read().decode('cp932', errors='ignore'))
    for path in sources:
        with open(path, 'rb') as f:
            chars.update(c for c in f.read().decode('utf-8', errors='ignore') if ord(c) > 0x7F)
    return {ord(c) for c in chars if c.isprintable() or c == '\u3000'}


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    face, out, name_dat, sources = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    opts = subset.Options()
    opts.flavor = 'woff2'
    opts.layout_features = ['*']
    opts.name_IDs = ['*']
    opts.name_languages = ['*']
    opts.notdef_outline = True
    opts.hinting = True
    font = subset.load_font(face, opts)
    subsetter = subset.Subsetter(opts)
    codes = wanted(name_dat, sources)
    subsetter.populate(unicodes=codes)
    subsetter.subset(font)
    subset.save_font(font, out, opts)
    print(f'cut_face: {len(codes)} characters, {len(font.getGlyphOrder())} glyphs')


if __name__ == '__main__':
    main()
