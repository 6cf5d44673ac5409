#!/usr/bin/python3
"""Draws the home-screen icons: the title logo's "D" in its grey blocks on the console's white.

Usage: make_icons.py FOLDER   (writes icon-192.png and icon-512.png there)
The letter keeps inside the middle 60 %, so a launcher may cut the icon to any shape.
"""
import struct
import sys
import zlib

LETTER = ['###.', '#..#', '#..#', '#..#', '###.']  # the logo's first letter, as on the title
WHITE, GREY, BLACK = (255, 255, 255), (128, 128, 128), (0, 0, 0)
SIZES = (192, 512)


def pixel(size, x, y):
    """The colour at (x, y): a block is grey with a black square in it, as the logo's ■."""
    block = size * 3 // 25  # five blocks high across the middle 60 %
    left = (size - block * len(LETTER[0])) // 2
    top = (size - block * len(LETTER)) // 2
    column, row = (x - left) // block, (y - top) // block
    if not (0 <= row < len(LETTER) and 0 <= column < len(LETTER[0]) and x >= left and y >= top):
        return WHITE
    if LETTER[row][column] != '#':
        return WHITE
    inset = block // 5
    inner_x, inner_y = (x - left) % block, (y - top) % block
    return BLACK if inset <= inner_x < block - inset and inset <= inner_y < block - inset else GREY


def png(size):
    rows = b''.join(b'\0' + bytes(value for x in range(size) for value in pixel(size, x, y)) for y in range(size))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    header = struct.pack('>IIBBBBB', size, size, 8, 2, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')


def main():
    for size in SIZES:
        with open(f'{sys.argv[1]}/icon-{size}.png', 'wb') as file:
            file.write(png(size))


if __name__ == '__main__':
    main()
