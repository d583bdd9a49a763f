#!/usr/bin/env python3
"""Looks at raw 8-bit grey screenshots of the snow saver.

  flurrin_motion.py fall <width> <height> <shot.gray>...
      follows the falling objects through a series of shots (at least three)
      and prints "votes median_dy falling_percent": how many object steps
      were followed, the median vertical step in pixels, and the share of
      steps that went down
  flurrin_motion.py change <width> <height> <first.gray> <second.gray>
      prints the mean difference (0-255) of 32 x 32 pixel block averages
  flurrin_motion.py moved <width> <height> <first.gray> <second.gray>
      prints how many sampled pixels changed clearly: 0 when nothing moved,
      a large share of the screen when the picture changed

How the objects are followed: the background is the per-pixel median of the
shots (every object moves on, so each pixel shows the background in most
shots); an object is a connected patch that differs clearly from it; each
object of one shot is paired with the nearest object of the next. Objects
leave at the bottom and come back at the top, and neighbours can be mistaken
for each other, so single steps may point anywhere; the median does not.
"""
import statistics
import sys

STEP = 2          # sample every second pixel in both directions
CLEAR = 40        # grey levels that count as a clear difference
TOP_SKIP = 48     # the clock sits at the top of the screen
NEAREST = 40      # an object moves less than this (pixels) between shots


def load(path, width, height, step):
    data = open(path, "rb").read()
    return [data[y * width:(y + 1) * width:step] for y in range(0, height, step)]


def changed_count(a, b):
    return sum(1 for ra, rb in zip(a, b) for pa, pb in zip(ra, rb) if abs(pa - pb) > CLEAR)


def moved(width, height, a_path, b_path):
    print(changed_count(load(a_path, width, height, STEP), load(b_path, width, height, STEP)))


def objects(shot, background, skip_rows):
    """Centroids (x, y in sampled units) of the patches that differ from the background."""
    h, w = len(shot), len(shot[0])
    mask = [bytearray(w) for _ in range(h)]
    for y in range(skip_rows, h):
        rs, rb, rm = shot[y], background[y], mask[y]
        for x in range(w):
            if abs(rs[x] - rb[x]) > CLEAR:
                rm[x] = 1
    found = []
    for y in range(h):
        for x in range(w):
            if not mask[y][x]:
                continue
            stack, sx, sy, n = [(x, y)], 0, 0, 0
            mask[y][x] = 0
            while stack:
                px, py = stack.pop()
                sx, sy, n = sx + px, sy + py, n + 1
                for qx, qy in ((px + 1, py), (px - 1, py), (px, py + 1), (px, py - 1)):
                    if 0 <= qx < w and 0 <= qy < h and mask[qy][qx]:
                        mask[qy][qx] = 0
                        stack.append((qx, qy))
            if n >= 2:  # a single sample is noise, not an object
                found.append((sx / n, sy / n))
    return found


def fall(width, height, paths):
    shots = [load(p, width, height, STEP) for p in paths]
    h, w = len(shots[0]), len(shots[0][0])
    background = [bytes(int(statistics.median(s[y][x] for s in shots)) for x in range(w)) for y in range(h)]
    found = [objects(s, background, TOP_SKIP // STEP) for s in shots]
    reach = (NEAREST / STEP) ** 2
    steps = []
    for before, after in zip(found, found[1:]):
        for bx, by in before:
            best = None
            for ax, ay in after:
                d = (ax - bx) ** 2 + (ay - by) ** 2
                if d <= reach and (best is None or d < best[0]):
                    best = (d, ay - by)
            if best is not None:
                steps.append(best[1] * STEP)
    if not steps:
        print(0, 0, 0)
        return
    down = sum(1 for s in steps if s > 0)
    print(len(steps), round(statistics.median(steps), 1), down * 100 // len(steps))


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
    mode, width, height, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]
    if mode == "fall":
        fall(width, height, files)
    else:
        {"change": change, "moved": moved}[mode](width, height, files[0], files[1])
