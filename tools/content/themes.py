#!/usr/bin/env python3
"""Counts the themes of the problem sources, from the best result and the
main line (the first correct line).

    themes.py PROBLEMS_DIR

ko: the best result is a ko class; race: the capturing-race aim; seki: the
best result is a seki; ladder: White's chain is kept in atari move after move
(three ataris or more); net: the first move does not touch White's stones
and White's stones are taken; throw-in: Black plays a lone stone that White
takes at once; snapback: Black then retakes at once, taking two stones or
more; under the stones: White takes two or more of Black's stones and Black
later plays on that ground and captures; connect-and-die: White connects in
atari and the joined chain is taken at once.
"""
import collections
import glob
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402


def board_of(black, white):
    b = {p: 'B' for p in black}
    b.update({p: 'W' for p in white})
    return b


def pt_of(v):
    return (ord(v[0]) - 97, ord(v[1]) - 97)


def themes_of(root):
    out = set()
    aim = int(root.get('PP')[0])
    best, klass = vm.minimax(root)
    if klass in vm.KO_CLASSES:
        out.add('ko')
    if aim == 3:
        out.add('race')
    if klass in vm.SEKI_CLASSES:
        out.add('seki')
    black = {pt_of(v) for v in root.get('AB') or []}
    white = {pt_of(v) for v in root.get('AW') or []}
    node, line = root, []
    colour = 'B'
    while node.kids:
        if colour == 'B':
            node = next(k for k in node.kids if vm.minimax(k, False)[0] == best)
        else:
            node = node.kids[0]
        line.append(pt_of(node.props[0][1][0]))
        colour = 'W' if colour == 'B' else 'B'
    ataris = 0
    taken_black = set()
    last_lone = None
    white_start = set(white)
    for i, p in enumerate(line):
        colour = 'B' if i % 2 == 0 else 'W'
        before_b, before_w = black, white
        black, white = vm.play(black, white, colour, p)
        board = board_of(black, white)
        if colour == 'B':
            captured = before_w - white
            if i == 0 and not any(q in before_w for q in vm.neighbours(p)) and captured == set() \
                    and (white_start - set()) and aim == 2:
                out.add('net?')
            stones, libs = vm.chain(board, p)
            if len(stones) == 1 and len(libs) == 1 and not captured:
                last_lone = p
            if captured and len(captured) >= 2 and last_lone and p == last_lone:
                out.add('snapback')
            if captured and taken_black & ({p} | set(vm.neighbours(p))):
                out.add('under the stones')
            if any(board.get(q) == 'W' and len(vm.chain(board, q)[1]) == 1
                   for q in vm.neighbours(p)):
                ataris += 1
        else:
            captured = before_b - black
            if captured:
                if last_lone in captured and len(captured) == 1:
                    out.add('throw-in')
                if len(captured) >= 2:
                    taken_black |= captured
            joined = [q for q in vm.neighbours(p) if before_w and q in before_w]
            stones, libs = vm.chain(board, p)
            if len(joined) >= 2 and len(libs) == 1 and i + 1 < len(line) \
                    and line[i + 1] in libs:
                out.add('connect-and-die')
    if 'net?' in out:
        out.discard('net?')
        if white_start - white:
            out.add('net')
    if ataris >= 3 and aim == 2 and 'net' not in out:
        out.add('ladder')
    return out


def main():
    counts = collections.Counter()
    per_set = collections.Counter()
    for path in sorted(glob.glob(os.path.join(sys.argv[1], '*', '*.sgf'))):
        s = os.path.basename(os.path.dirname(path))
        for root in vm.parse_sgf(open(path, encoding='utf-8-sig').read()):
            level = int((root.get('DF') or ['0'])[0])
            per_set[(s, level)] += 1
            for t in themes_of(root):
                counts[t] += 1
    for k in sorted(per_set):
        print(f'{k[0]} level {k[1]}: {per_set[k]}')
    for t, n in counts.most_common():
        print(f'{t}: {n}')


if __name__ == '__main__':
    main()
