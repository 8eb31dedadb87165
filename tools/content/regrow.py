#!/usr/bin/env python3
"""Grows the generated problem files again with the current solver and keeps
only what it proves.

    regrow.py VELMORA_DATA PROBLEMS_DIR [--tag gen] [--limit-ms N] [--resist-moves N]

Every file PROBLEMS_DIR/*/*-TAG*.sgf is grown in place (the trees are
completed where the solver finds something missing), its view lines marked
again and its levels lowered where the completed tree measures lower. Then the whole folder is compiled and proved, and
every generated problem the prove does not pass is dropped. Hand-written
files are never touched.

White's resistance on correct lines is not added again by default: the
shipped trees already carry it, and growing a line that stopped at the cap
would lengthen it on every run. Pass --resist-moves N to add it.
"""
import argparse
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('binary')
    ap.add_argument('problems')
    ap.add_argument('--tag', default='gen')
    ap.add_argument('--limit-ms', type=int, default=5000)
    ap.add_argument('--no-grow', action='store_true')
    ap.add_argument('--resist-moves', type=int, default=0)
    args = ap.parse_args()
    ours = sorted(glob.glob(os.path.join(args.problems, '*', f'*-{args.tag}*.sgf')))
    for path in ours:
        if not args.no_grow:
            out = path + '.grown'
            r = subprocess.run([args.binary, 'grow', path, '-o', out, '--limit-ms',
                                str(args.limit_ms), '--resist-moves', str(args.resist_moves)],
                               capture_output=True, text=True)
            if r.returncode != 0:
                print(f'{path}: grow failed: {r.stderr.strip()}', file=sys.stderr)
                continue
            text = open(out, encoding='utf-8').read()
            os.remove(out)
        else:
            text = open(path, encoding='utf-8').read()
        roots = vm.parse_sgf(text)
        for root in roots:
            vm.mark_lines(root, prune=False)  # prove wants every plausible wrong move
            if root.get('DF'):
                # A completed tree may have a shorter main line: the level
                # never rises here, it only falls to what is measured.
                level = min(int(root.get('DF')[0]), vm.level_for(root))
                root.set('DF', [str(level)])
        with open(path, 'w', encoding='utf-8') as f:
            f.write(''.join(vm.write_sgf(r) for r in roots))
        print(f'{path}: {len(roots)} grown', file=sys.stderr, flush=True)

    # Prove everything and drop the generated problems that do not pass.
    out = tempfile.mkdtemp(prefix='regrow-')
    r = subprocess.run([args.binary, 'compile', args.problems, out], capture_output=True,
                       text=True)
    if r.returncode != 0:
        print(r.stdout + r.stderr, file=sys.stderr)
        sys.exit(1)
    r = subprocess.run([args.binary, 'prove', out, '--limit-ms', '10000'], capture_output=True,
                       text=True)
    failing = set()
    for line in r.stdout.splitlines():
        m = re.match(r'(abc|s1|s2) (\d+): (?!proved)', line)
        if m:
            failing.add((m.group(1), int(m.group(2))))
    print(f'{len(failing)} problems fail the prove', file=sys.stderr)
    for s in ('abc', 's1', 's2'):
        number = 0
        for path in vm.set_files(args.problems, s):
            roots = vm.parse_sgf(open(path, encoding='utf-8-sig').read())
            kept = []
            for root in roots:
                number += 1
                if (s, number) in failing and path in ours:
                    continue
                kept.append(root)
            if len(kept) != len(roots):
                with open(path, 'w', encoding='utf-8') as f:
                    f.write(''.join(vm.write_sgf(r) for r in kept))
                print(f'{path}: dropped {len(roots) - len(kept)}', file=sys.stderr)


if __name__ == '__main__':
    main()
