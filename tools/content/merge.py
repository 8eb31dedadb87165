#!/usr/bin/env python3
"""Gathers generated problems into the source folders.

    merge.py GENERATED_DIR PROBLEMS_DIR [--s2 N] [--tag TAG]

Reads every *.sgf under GENERATED_DIR, drops any position already in
PROBLEMS_DIR or seen earlier (under the eight symmetries and the colour
swap), and writes

  PROBLEMS_DIR/abc/{10,20,30}-TAG.sgf   by the level each problem carries,
  PROBLEMS_DIR/s2/s2-TAG.sgf            the N simplest level-10 problems
                                        (one correct first move, short main
                                        line, fewest stones), with comments.

--top-level L files a problem measured above level L at L (the level rule is
a floor: a problem may always stand lower).

Prints the counts per level, aim and outcome class.
"""
import argparse
import collections
import glob
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402

CAPTURE = '黒先で白石を取ってください'
COMMENTS = {1: '黒先で生きてください', 2: '黒先で白を殺してください', 3: '黒先で攻め合いに勝ってください'}
# Aim 0 by its goal (GL).
GOAL_COMMENTS = {'connect': '黒先で黒石を助けてください', 'cut': CAPTURE}


def comment(root):
    aim = int(root.get('PP')[0])
    if aim == 0:
        return GOAL_COMMENTS[root.get('GL')[0]]
    return CAPTURE if root.family == 'capture' else COMMENTS[aim]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('generated')
    ap.add_argument('problems')
    ap.add_argument('--s2', type=int, default=0)
    ap.add_argument('--tag', default='gen')
    ap.add_argument('--max', default='10:100000,20:100000,30:100000')
    ap.add_argument('--top-level', type=int, default=30, choices=(10, 20, 30))
    args = ap.parse_args()
    limit = {int(k): int(v) for k, v in (q.split(':') for q in args.max.split(','))}
    seen = set()
    for path in glob.glob(os.path.join(args.problems, '*', '*.sgf')):
        if os.path.basename(path).endswith(f'-{args.tag}.sgf'):
            continue
        for root in vm.parse_sgf(open(path, encoding='utf-8-sig').read()):
            seen.add(vm.canonical_key(*vm.stones(root)))
    by_level = collections.defaultdict(list)
    for path in sorted(glob.glob(os.path.join(args.generated, '**', '*.sgf'), recursive=True)):
        for root in vm.parse_sgf(open(path, encoding='utf-8').read()):
            key = vm.canonical_key(*vm.stones(root))
            if key in seen:
                continue
            seen.add(key)
            correct, wrong = vm.mark_lines(root)
            if wrong < 1 or vm.stray_stones(root):
                continue
            aim = int(root.get('PP')[0])
            if aim in (1, 2):
                b, w = vm.stones(root)
                sizes = vm.chain_sizes(w if aim == 2 else b)
                if len(sizes) > 3 or sum(1 for n in sizes if n == 1) > 1:
                    continue  # a scattered group: not as in play
            root.family = 'capture' if '-capture-' in os.path.basename(path) else ''
            level = int(root.get('DF')[0])
            if '-capture-' not in os.path.basename(path):
                level = min(vm.level_for(root), args.top_level)  # as the audit measures it
                root.set('DF', [str(level)])
            by_level[level].append(root)
    s2 = []
    if args.s2:
        def simplicity(root):
            b, w = vm.stones(root)
            correct = sum(1 for k in root.kids if vm.minimax(k, False)[0] == vm.minimax(root)[0])
            return (correct, vm.main_line(root), len(b) + len(w))
        pool = [r for r in sorted(by_level[10], key=simplicity) if simplicity(r)[0] == 1]
        # Nets and ladders first (up to a third), then the shortest shapes.
        s2 = [r for r in pool if r.family == 'capture'][:args.s2 // 3]
        s2 += [r for r in pool if r.family != 'capture' and simplicity(r)[1] <= 3]
        s2 += [r for r in pool if r.family == 'capture'][args.s2 // 3:]  # more when shapes run out
        s2 = s2[:args.s2]
        chosen = {id(r) for r in s2}
        by_level[10] = [r for r in by_level[10] if id(r) not in chosen]
        for r in s2:
            r.set('DF', ['10'])
            r.set('CM', [comment(r)])
    stats = collections.Counter()
    for level, roots in by_level.items():
        roots = roots[:limit.get(level, 100000)]
        by_level[level] = roots
        for r in roots:
            stats[(level, int(r.get('PP')[0]), vm.minimax(r)[1])] += 1
        with open(os.path.join(args.problems, 'abc', f'{level}-{args.tag}.sgf'), 'w',
                  encoding='utf-8') as f:
            f.write(''.join(vm.write_sgf(r) for r in roots))
    if s2:
        with open(os.path.join(args.problems, 's2', f's2-{args.tag}.sgf'), 'w',
                  encoding='utf-8') as f:
            f.write(''.join(vm.write_sgf(r) for r in s2))
    for level in sorted(by_level):
        print(f'abc level {level}: {len(by_level[level])}')
    print(f's2: {len(s2)}')
    for k in sorted(stats):
        print('level %d aim %d class %d: %d' % (k + (stats[k],)))


if __name__ == '__main__':
    main()
