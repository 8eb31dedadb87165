#!/usr/bin/env python3
"""Bare positions of the classical problem collections, normalised for us.

Reads the SGF transcriptions of Gokyo Shumyo, Xuanxuan Qijing and Igo
Hatsuyoron from a local git mirror (and, given a second mirror, the TeX
diagrams of Guanzi Pu) and writes one JSON line per problem:
the work, its number, where it came from, and the stones with Black to play
(colours swapped where White plays first), turned into the top-left corner.
Nothing else of the files is read: no comments, no answers.

    classical.py MIRROR_GIT_DIR [TEX_MIRROR_GIT_DIR] > positions.jsonl
"""
import json
import re
import subprocess
import sys

WORKS = [
    # (work name, path in the repository)
    ("Gokyo Shumyo", "generated/gokyoshumyo.sgf"),
    ("Xuanxuan Qijing", "generated/xxqj.sgf"),
    ("Igo Hatsuyoron", "generated/hatsuyoron.sgf"),
]

PROBLEM = re.compile(r"\(;C\[problem ([0-9-]+), (black|white) to play[^\]]*\]PL\[[BW]\]((?:A[BW](?:\[[a-s]{2}\])+)+)\)")
# Guanzi Pu: TeX board diagrams, every one from the top-left corner of the
# board, one token per point (empty, white stone `!`, black stone `@`, then
# the grid's shape); every problem of the work is Black to play.
GZP_VOLUMES = ["books/gzp1.tex", "books/gzp2.tex", "books/gzp3.tex"]
GZP_DIAGRAM = re.compile(r"\\goo\n(.*?)\n\}\n\\hfil problem (\d+)\\hfil", re.S)
GZP_POINT = re.compile(r"(\\0\?\?|\\- !|\\- @)(.)")
N = 19
PLAIN = ((1, 0), (-1, 0), (0, 1), (0, -1))
KING = PLAIN + ((1, 1), (1, -1), (-1, 1), (-1, -1))
PROP = re.compile(r"(A[BW])((?:\[[a-s]{2}\])+)")


def transforms():
    """The eight symmetries of the board as functions on (x, y)."""
    n = 18
    out = []
    for swap in (False, True):
        for fx in (False, True):
            for fy in (False, True):
                def f(x, y, swap=swap, fx=fx, fy=fy):
                    if swap:
                        x, y = y, x
                    if fx:
                        x = n - x
                    if fy:
                        y = n - y
                    return x, y
                out.append(f)
    return out


def normalise(black, white):
    """Turns the stones so that they sit as close to the top-left as they can."""
    best = None
    for f in transforms():
        b = sorted(f(x, y) for x, y in black)
        w = sorted(f(x, y) for x, y in white)
        pts = b + w
        span = (max(max(x for x, _ in pts), max(y for _, y in pts)),
                max(x for x, _ in pts) + max(y for _, y in pts),
                sum(x + y for x, y in pts))
        if best is None or span < best[0]:
            best = (span, b, w)
    return best[1], best[2]


def frame_area(black, white, defender, lines=0):
    """The points in play when the position is framed `lines` out (`solve
    --frame`, AddFrame in solver/grow.cpp; 0 is next to the liberties), as a
    cheap measure of how hard it is to settle: the empty points inside the
    ring, the defender's and the attacker's stones inside it, and the
    furthest line the ring reaches. `defender` is 'B' or 'W'; None without a
    defender stone. Next to the liberties the ring stands on the points two
    plain steps from the nearest defender stone that face the open board,
    `lines` out on those `lines` + 1 king steps away; the points between the
    defender's stones and the near edges stay in play."""
    stones = {tuple(p): 'B' for p in black}
    stones.update({tuple(p): 'W' for p in white})
    own = [p for p, c in stones.items() if c == defender]
    if not own:
        return None

    def around(p, steps=PLAIN):
        for dx, dy in steps:
            x, y = p[0] + dx, p[1] + dy
            if 0 <= x < N and 0 <= y < N:
                yield x, y

    ring_at = 2 if lines == 0 else lines + 1
    dist = {p: 0 for p in own}
    queue = list(own)
    for p in queue:
        for n in around(p, KING if lines else PLAIN):
            if n not in dist:
                dist[n] = dist[p] + 1
                queue.append(n)
    x0, x1 = min(p[0] for p in own), max(p[0] for p in own)
    y0, y1 = min(p[1] for p in own), max(p[1] for p in own)

    def may_open(p):
        own_side = (p[0] <= x1 and p[1] < y0) or (p[1] <= y1 and p[0] < x0)
        return dist[p] > ring_at and not own_side

    queue = [(x, y) for x in range(N) for y in range(N)
             if (x == N - 1 or y == N - 1) and may_open((x, y))]
    open_ = set(queue)
    for p in queue:
        for n in around(p):
            if n not in open_ and may_open(n):
                open_.add(n)
                queue.append(n)
    inside = [(x, y) for x in range(N) for y in range(N) if (x, y) not in open_]
    ring = {p for p in inside if any(n in open_ for n in around(p))}
    kept = [p for p in inside if p not in ring]
    return {'empty': sum(p not in stones for p in kept),
            'defender': sum(stones.get(p) == defender for p in kept),
            'attacker': sum(stones.get(p, defender) != defender for p in kept),
            'reach': max(max(p) for p in inside)}


def positions(mirror):
    """Every problem of the works as a dict (see the module's text)."""
    commit = subprocess.run(["git", "-C", mirror, "rev-parse", "HEAD"], capture_output=True,
                            text=True, check=True).stdout.strip()
    for work, path in WORKS:
        text = subprocess.run(["git", "-C", mirror, "show", f"{commit}:{path}"],
                              capture_output=True, text=True, check=True).stdout
        for m in PROBLEM.finditer(text):
            number, player, props = m.group(1), m.group(2), m.group(3)
            stones = {"AB": [], "AW": []}
            for p in PROP.finditer(props):
                stones[p.group(1)] += [(ord(v[0]) - 97, ord(v[1]) - 97)
                                       for v in re.findall(r"\[([a-s]{2})\]", p.group(2))]
            black, white = stones["AB"], stones["AW"]
            if player == "white":
                black, white = white, black
            black, white = normalise(black, white)
            yield {"work": work, "number": number, "repo": "Seon82/tasuki2sgf",
                   "path": path, "commit": commit, "swapped": player == "white",
                   "black": black, "white": white}


def gzp_diagrams(text, volume):
    """The problems of one volume of Guanzi Pu's TeX diagrams as (number,
    black, white). A problem's number is its place in the volume: the
    printed labels go wrong from 42 on (42 reads "30", 420 reads "300"), the
    places give the work's 1,477 problems."""
    for place, m in enumerate(GZP_DIAGRAM.finditer(text), 1):
        rows = m.group(1).split("\n")
        if not re.match(r"\\(0\?\?|- [!@])<", rows[0]):
            continue  # a diagram that does not start at the board's corner
        black, white = [], []
        for y, row in enumerate(rows):
            for x, (stone, _) in enumerate(GZP_POINT.findall(row)):
                if stone == "\\- @":
                    black.append((x, y))
                elif stone == "\\- !":
                    white.append((x, y))
        if black and white:
            yield f"{volume}-{place}", black, white


def gzp_positions(mirror):
    """Every Guanzi Pu problem (number: volume-problem), Black to play."""
    commit = subprocess.run(["git", "-C", mirror, "rev-parse", "HEAD"], capture_output=True,
                            text=True, check=True).stdout.strip()
    for volume, path in enumerate(GZP_VOLUMES, 1):
        text = subprocess.run(["git", "-C", mirror, "show", f"{commit}:{path}"],
                              capture_output=True, text=True, check=True).stdout
        for number, black, white in gzp_diagrams(text, volume):
            black, white = normalise(black, white)
            yield {"work": "Guanzi Pu", "number": number,
                   "repo": "tasuki/tsumego", "path": path, "commit": commit, "swapped": False,
                   "black": black, "white": white}


def main():
    if len(sys.argv) > 2:
        for d in gzp_positions(sys.argv[2]):
            print(json.dumps(d))
    for d in positions(sys.argv[1]):
        print(json.dumps(d))


if __name__ == "__main__":
    main()
