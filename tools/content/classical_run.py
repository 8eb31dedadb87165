#!/usr/bin/env python3
"""Turns the classical positions (from classical.py) into problems of ours.

Each position is closed in by a ring of the attacker's stones two lines out
from the stones on the side that faces the open board, so that the solver
can read it; the solver then finds the answer and grows the tree. A
position the solver cannot settle within the limit is left out. The first
aim tried follows the section of the work where it has sections (Gokyo
Shumyo: living, killing, ko, races, oiotoshi, connecting, various); kill
first and then live elsewhere.

    classical_run.py VELMORA_DATA positions.jsonl results.jsonl [--limit-ms N]
"""
import argparse
import json
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402


def ring(black, white, aim, vs, distance=2):
    """The attacker's stones two lines out on the open side."""
    black = [tuple(p) for p in black]
    white = [tuple(p) for p in white]
    pts = set(black) | set(white)

    def dist(p):
        return min(max(abs(p[0] - x), abs(p[1] - y)) for x, y in pts)
    seen, stack, out = set(), [], set()
    for i in range(vs):
        for p in ((vs - 1, i), (i, vs - 1)):
            if p not in pts and p not in seen:
                seen.add(p)
                stack.append(p)
    while stack:
        p = stack.pop()
        d = dist(p)
        if d <= distance:
            if d == distance:
                out.add(p)
            continue
        for q in vm.neighbours(p, vs):
            if q not in pts and q not in seen:
                seen.add(q)
                stack.append(q)
    b, w = set(black), set(white)
    (w if aim == 1 else b).update(out)
    return b, w


def aims_for(work, number):
    if work == 'Gokyo Shumyo':
        section = int(number.split('-')[0])
        return {1: [1], 2: [2], 3: [2, 1], 4: [3], 5: [2], 6: [1, 3], 7: [2, 1]}.get(section, [2, 1])
    return [2, 1]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('binary')
    ap.add_argument('positions')
    ap.add_argument('results')
    ap.add_argument('--limit-ms', type=int, default=500)
    ap.add_argument('--prove-ms', type=float, default=400)
    ap.add_argument('--only', default='')
    ap.add_argument('--ring', type=int, default=2)
    args = ap.parse_args()
    tool = vm.Tool(args.binary)
    done = set()
    if os.path.exists(args.results):
        for line in open(args.results):
            d = json.loads(line)
            done.add((d['work'], d['number']))
    out = open(args.results, 'a')
    for line in open(args.positions):
        d = json.loads(line)
        if (d['work'], d['number']) in done or (args.only and args.only not in d['work']):
            continue
        pts = [tuple(p) for p in d['black'] + d['white']]
        span = max(max(p) for p in pts)
        vs = 13 if span <= 8 else 19
        result = dict(d, status='left out', why='')
        for aim in aims_for(d['work'], d['number']):
            b, w = ring(d['black'], d['white'], aim, vs, args.ring)
            if not vm.every_chain_has_liberty(b, w):
                result['why'] = 'a chain without liberty'
                continue
            grown, why = tool.grow(vm.root_sgf(b, w, aim, vs), args.limit_ms)
            if not grown:
                result['why'] = why
                continue
            root = vm.parse_sgf(grown)[0]
            best, klass = vm.minimax(root)
            correct, wrong = vm.mark_lines(root)
            if best < 140 or wrong < 1 or correct > 2:
                result['why'] = f'aim {aim}: best {klass}, {correct} correct, {wrong} wrong'
                continue
            text = vm.write_sgf(root)
            ok, lines = tool.prove_set({'abc': text})
            m = re.search(r'\((\d+) nodes, (\d+) ms\)', lines[0] if lines else '')
            if not ok or not m or 'proved' not in lines[0] or float(m.group(2)) > args.prove_ms:
                result['why'] = 'prove: ' + (lines[0] if lines else '?')
                continue
            result.update(status='proved', aim=aim, vs=vs, klass=klass, sgf=text,
                          line=vm.main_line(root), correct=correct)
            break
        out.write(json.dumps(result) + '\n')
        out.flush()
        print(d['work'], d['number'], result['status'], result.get('why', ''), file=sys.stderr,
              flush=True)


if __name__ == '__main__':
    main()
