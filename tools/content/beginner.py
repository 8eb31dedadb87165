#!/usr/bin/env python3
"""Grows the hand-composed first-steps problems of beginner.txt.

    beginner.py VELMORA_DATA beginner.txt OUT.sgf [--limit-ms N]

Each diagram becomes a problem with its comment; the solver finds the
answer and grows the tree. A diagram the solver cannot settle, whose best
result is a failure, or whose every first move succeeds, is reported and
left out.
"""
import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402


def read_blocks(path):
    blocks, current = [], None
    for raw in open(path, encoding='utf-8'):
        line = raw.rstrip('\n')
        if line.startswith('#'):
            continue
        if not line.strip():
            current = None
            continue
        if current is None:
            theme, aim, comment = line.split(None, 2)
            current = {'theme': theme, 'aim': int(aim), 'comment': comment, 'rows': []}
            blocks.append(current)
        else:
            current['rows'].append(line.split())
    return blocks


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('binary')
    ap.add_argument('source')
    ap.add_argument('out')
    ap.add_argument('--limit-ms', type=int, default=3000)
    args = ap.parse_args()
    tool = vm.Tool(args.binary)
    texts = []
    for i, b in enumerate(read_blocks(args.source), 1):
        black = {(x, y) for y, row in enumerate(b['rows']) for x, c in enumerate(row) if c == 'X'}
        white = {(x, y) for y, row in enumerate(b['rows']) for x, c in enumerate(row) if c == 'O'}
        extra = f"CM[{b['comment']}]"
        grown, why = tool.grow(vm.root_sgf(black, white, b['aim'], 13, extra=extra),
                               args.limit_ms)
        if not grown:
            print(f"{i} {b['theme']}: left out: {why}")
            continue
        root = vm.parse_sgf(grown)[0]
        best, klass = vm.minimax(root)
        correct, wrong = vm.mark_lines(root)
        firsts = [k.props[0][1][0] for k in root.kids if vm.minimax(k, False)[0] == best]
        verdict = 'ok'
        if best < 140 or wrong < 1 or correct > 2:
            verdict = 'left out'
        text = vm.write_sgf(root)
        ok, lines = tool.prove_set({'s2': text})
        if not ok or 'proved' not in lines[0]:
            verdict = 'left out (prove)'
        print(f"{i} {b['theme']}: {verdict}: class {klass}, correct {firsts}, "
              f"{wrong} wrong, line {vm.main_line(root)}; {lines[0] if lines else ''}")
        if verdict == 'ok':
            texts.append(text)
    with open(args.out, 'w', encoding='utf-8') as f:
        f.write(''.join(texts))
    print(f'{len(texts)} problems written')


if __name__ == '__main__':
    main()
