#!/usr/bin/env python3
"""Compares two raw 8-bit grey screenshots of the snow saver.

  flurrin_motion.py shift <width> <height> <first.gray> <second.gray>
      prints "dx dy" of the shift that best carries the changed parts of the
      first shot onto the second (the way the falling objects moved)
  flurrin_motion.py change <width> <height> <first.gray> <second.gray>
      prints the mean difference (0-255) of 32 x 32 pixel block averages:
      large when the picture behind the objects changed
"""
import sys


def load(path, width, height, step):
    data = open(path, "rb").read()
    return [[data[y * width + x] for x in range(0, width, step)] for y in range(0, height, step)]


def shift(width, height, a_path, b_path):
    a, b = load(a_path, width, height, 2), load(b_path, width, height, 2)
    h, w = len(a), len(a[0])
    changed = [(x, y) for y in range(20, h - 20) for x in range(20, w - 20) if abs(a[y][x] - b[y][x]) > 40]
    changed = changed[:: max(1, len(changed) // 3000)]
    best = None
    for dy in range(-20, 61, 1):
        for dx in range(-16, 17, 2):
            cost = 0
            for x, y in changed:
                sx, sy = x - dx, y - dy
                if 0 <= sx < w and 0 <= sy < h:
                    cost += abs(b[y][x] - a[sy][sx])
                else:
                    cost += 255
            if best is None or cost < best[0]:
                best = (cost, dx * 2, dy * 2)
    print(best[1], best[2])


def change(width, height, a_path, b_path):
    a, b = load(a_path, width, height, 1), load(b_path, width, height, 1)
    block, total, count = 32, 0, 0
    for by in range(0, height - block + 1, block):
        for bx in range(0, width - block + 1, block):
            sa = sum(a[y][x] for y in range(by, by + block, 4) for x in range(bx, bx + block, 4))
            sb = sum(b[y][x] for y in range(by, by + block, 4) for x in range(bx, bx + block, 4))
            total += abs(sa - sb) / 64
            count += 1
    print(int(total / count))


if __name__ == "__main__":
    mode, width, height, first, second = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
    {"shift": shift, "change": change}[mode](width, height, first, second)
