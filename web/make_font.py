#!/usr/bin/python3
"""Cuts Noto Sans Mono CJK JP down to the characters the game's sources use.

Usage: make_font.py OUTPUT.woff SOURCE...
The page draws every character in this font, so the screen looks the same whatever fonts
the visitor has. Printable ASCII is always kept.
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTCollection

COLLECTION = '/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc'
MONO_JP = 'Noto Sans Mono CJK JP'


def main():
    output, sources = sys.argv[1], sys.argv[2:]
    characters = {chr(code) for code in range(0x20, 0x7F)}
    for source in sources:
        with open(source, encoding='utf-8') as text:
            characters.update(ch for ch in text.read() if ord(ch) > 0x7F)
    collection = TTCollection(COLLECTION)
    font = next(face for face in collection.fonts if face['name'].getDebugName(4) == MONO_JP)
    options = subset.Options()
    options.flavor = 'woff'
    options.layout_features = []
    options.name_IDs = [1, 2, 4]
    options.notdef_outline = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=''.join(sorted(characters)))
    subsetter.subset(font)
    font.flavor = 'woff'
    font.save(output)


if __name__ == '__main__':
    main()
