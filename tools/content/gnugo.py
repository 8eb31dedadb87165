#!/usr/bin/env python3
"""Asks GNU Go (Debian package gnugo) for Black's first move of every
problem and records whether it finds a correct one.

    gnugo.py PROBLEMS_DIR [--out FILE] [--gnugo /usr/games/gnugo] [--set abc]
             [--only GLOB]

GNU Go sees the start position on the whole board and chooses among the
empty points within two lines of a stone (`restricted_genmove`), so it
cannot play away from the fight. Its verdict is one input of the level rule
(docs/problem-format.md): a first move GNU Go misses counts as hard to see.
The verdicts are written to FILE (default PROBLEMS_DIR/gnugo.txt), one line
per problem the program misses (with `--only`, only the files whose name
matches GLOB are asked again; the verdicts on the others are kept from
FILE): the position's key under the eight
symmetries and the colour swap (see `position_key`), then the move GNU Go
chose and the file it came from, for the reader. `velmora-data audit
--gnugo FILE` reads the keys. Prints the share it finds per level.
"""
import argparse
import collections
import fnmatch
import glob
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402

COLUMNS = 'ABCDEFGHJKLMNOPQRST'


def gtp_point(p):
    x, y = p
    return f'{COLUMNS[x]}{vm.SIDE - y}'


def sgf_point(text):
    text = text.strip().upper()
    if not text or text == 'PASS' or text == 'RESIGN':
        return None
    return (COLUMNS.index(text[0]), vm.SIDE - int(text[1:]))


def position_key(black, white):
    """The position as text, the same for all its images (velmora-data's
    PositionKey): of the sixteen images (eight symmetries of the board,
    colours as given or swapped), the smallest concatenation of its stones
    written as 'b' or 'w' plus the SGF point, sorted."""
    best = None
    for first, second in ((black, white), (white, black)):
        stones = [(p, 'b') for p in first] + [(p, 'w') for p in second]
        for img in vm.symmetries([p for p, _ in stones]):
            key = ''.join(sorted(c + vm.pt(x, y) for (x, y), (_, c) in zip(img, stones)))
            if best is None or key < best:
                best = key
    return best


def candidates(black, white, view):
    """Empty points of the view within two lines of a stone."""
    stones = black | white
    out = []
    for x in range(view):
        for y in range(view):
            p = (x, y)
            if p in stones:
                continue
            if any(abs(x - q[0]) <= 2 and abs(y - q[1]) <= 2 for q in stones):
                out.append(p)
    return out


class GnuGo:
    def __init__(self, binary):
        self.proc = subprocess.Popen([binary, '--mode', 'gtp', '--level', '10'],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, command):
        self.proc.stdin.write(command + '\n')
        self.proc.stdin.flush()
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError('gnugo stopped')
            if line.strip() == '' and lines:
                break
            if line.strip():
                lines.append(line.strip())
        answer = ' '.join(lines)
        if answer.startswith('?'):
            raise RuntimeError(f'gnugo: {command}: {answer}')
        return answer[1:].strip()

    def first_move(self, black, white, view):
        self.ask('boardsize 19')
        self.ask('clear_board')
        for p in black:
            self.ask(f'play black {gtp_point(p)}')
        for p in white:
            self.ask(f'play white {gtp_point(p)}')
        points = ' '.join(gtp_point(p) for p in candidates(black, white, view))
        return sgf_point(self.ask(f'restricted_genmove black {points}'))

    def close(self):
        self.ask('quit')
        self.proc.wait()


def correct_first_moves(root):
    best, _ = vm.minimax(root)
    return {k.props[0][1][0] for k in root.kids if vm.minimax(k, False)[0] == best}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('problems')
    ap.add_argument('--out')
    ap.add_argument('--gnugo', default='/usr/games/gnugo')
    ap.add_argument('--set', default='abc')
    ap.add_argument('--promote', action='store_true',
                    help='move generated 上級 problems GNU Go misses to 有段 where the rule allows')
    ap.add_argument('--only', help='ask only about the files whose name matches this pattern')
    args = ap.parse_args()
    out = args.out or os.path.join(args.problems, 'gnugo.txt')
    kept_lines = []
    if args.only and os.path.exists(out):
        kept_lines = [line.split() for line in open(out, encoding='utf-8')
                      if line.strip() and not line.startswith('#')]
    engine = GnuGo(args.gnugo)
    found = collections.Counter()
    total = collections.Counter()
    missed = []
    asked = set()
    promoted = collections.defaultdict(list)
    for path in sorted(glob.glob(os.path.join(args.problems, args.set, '*.sgf'))):
        if args.only and not fnmatch.fnmatch(os.path.basename(path), args.only):
            continue
        roots = vm.parse_sgf(open(path, encoding='utf-8-sig').read())
        stay = []
        for i, root in enumerate(roots):
            black, white = vm.stones(root)
            asked.add(position_key(black, white))
            move = engine.first_move(black, white, int(root.get('VS')[0]))
            level = int((root.get('DF') or ['0'])[0])
            total[level] += 1
            stay.append(root)
            if move and vm.pt(*move) in correct_first_moves(root):
                found[level] += 1
                continue
            missed.append((position_key(black, white), vm.pt(*move) if move else 'pass',
                           f'{os.path.basename(path)}#{i + 1}'))
            name = os.path.basename(path)
            if args.promote and level == 20 and name.startswith('20-') and 'gen' in name \
                    and vm.level_for(root, True) == 30:
                root.set('DF', ['30'])
                promoted[os.path.join(os.path.dirname(path), '30' + name[2:])].append(root)
                stay.pop()
        if len(stay) != len(roots):
            with open(path, 'w', encoding='utf-8') as f:
                f.write(''.join(vm.write_sgf(r) for r in stay))
    engine.close()
    missed += [tuple(f) for f in kept_lines if len(f) == 3 and f[0] not in asked]
    for path, roots in promoted.items():
        old = open(path, encoding='utf-8').read() if os.path.exists(path) else ''
        with open(path, 'w', encoding='utf-8') as f:
            f.write(old + ''.join(vm.write_sgf(r) for r in roots))
        print(f'{os.path.basename(path)}: {len(roots)} promoted to 有段')
    with open(out + '.tmp', 'w', encoding='utf-8') as f:
        f.write('# Problems whose correct first move GNU Go 3.8 does not find\n'
                '# (tools/content/gnugo.py): position key, its move, source#tree\n')
        for key, move, where in sorted(missed):
            f.write(f'{key} {move} {where}\n')
    os.replace(out + '.tmp', out)
    for level in sorted(total):
        print(f'level {level}: GNU Go finds {found[level]} of {total[level]}')


if __name__ == '__main__':
    main()
