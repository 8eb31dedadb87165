#!/usr/bin/env python3
"""Keeps one problem of each family of near duplicates.

    dedup.py VELMORA_DATA PROBLEMS_DIR [--dry-run]

Compiles PROBLEMS_DIR, runs `velmora-data audit` and reads its pairs of
start positions one stone apart (or the same). Problems are then taken in
order of worth and kept when no problem kept before is that close:

  1. the classical compositions (s1), never removed;
  2. hand-written sources (files without "gen" in their name);
  3. the generated first steps (s2);
  4. generated problems of the main collection, the higher level first
     (有段 and 上級 problems are the scarcer ones).

Every other problem of a family is dropped from its generated file; a
hand-written problem is never dropped, a pair of two is only reported.
Prints what it drops.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402

SETS = ('abc', 's1', 's2')
PAIR = re.compile(r'^(abc|s1|s2)\.dt: problem (\d+): (?:warning: )?'
                  r'(?:start position \d+ stone\(s\) away from|the same start position as) '
                  r'(abc|s1|s2) (\d+)')


def generated(path):
    return 'gen' in os.path.basename(path)


def load(problems):
    """{(set, number): (path, index in file, root)} in compile order."""
    out = {}
    for s in SETS:
        number = 0
        for path in vm.set_files(problems, s):
            for i, root in enumerate(vm.parse_sgf(open(path, encoding='utf-8-sig').read())):
                number += 1
                out[(s, number)] = (path, i, root)
    return out


def pairs_of(binary, problems):
    out = tempfile.mkdtemp(prefix='dedup-')
    r = subprocess.run([binary, 'compile', problems, out], capture_output=True, text=True)
    if r.returncode != 0:
        sys.exit(r.stdout + r.stderr)
    r = subprocess.run([binary, 'audit', out], capture_output=True, text=True)
    pairs = []
    for line in (r.stdout + r.stderr).splitlines():
        m = PAIR.match(line)
        if m:
            pairs.append(((m.group(1), int(m.group(2))), (m.group(3), int(m.group(4)))))
    return pairs


def worth(key, entry):
    """Sort key: smaller is kept first."""
    s, number = key
    path, _, root = entry
    if s == 's1':
        rank = 0
    elif not generated(path):
        rank = 1
    elif s == 's2':
        rank = 2
    else:
        rank = 3
    level = int((root.get('DF') or ['0'])[0])
    return (rank, -level, SETS.index(s), number)


def choose(problems, pairs):
    """The problems to drop: a greedy family-wise choice by worth."""
    near = {}
    for a, b in pairs:
        near.setdefault(a, set()).add(b)
        near.setdefault(b, set()).add(a)
    kept, drop, report = set(), set(), []
    for key in sorted(near, key=lambda k: worth(k, problems[k])):
        clash = near[key] & kept
        if not clash:
            kept.add(key)
        elif worth(key, problems[key])[0] <= 1:
            kept.add(key)  # hand-written or classical: never dropped
            report.append((key, sorted(clash)))
        else:
            drop.add(key)
    return drop, report


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('binary')
    ap.add_argument('problems')
    ap.add_argument('--dry-run', action='store_true')
    args = ap.parse_args()
    problems = load(args.problems)
    drop, report = choose(problems, pairs_of(args.binary, args.problems))
    for key, clash in report:
        print(f'kept both: {key[0]} {key[1]} near {", ".join(f"{s} {n}" for s, n in clash)}')
    by_file = {}
    for key in drop:
        path, index, _ = problems[key]
        by_file.setdefault(path, set()).add(index)
    for path, indices in sorted(by_file.items()):
        print(f'{path}: drop {len(indices)}')
        if args.dry_run:
            continue
        roots = vm.parse_sgf(open(path, encoding='utf-8-sig').read())
        kept = [r for i, r in enumerate(roots) if i not in indices]
        with open(path, 'w', encoding='utf-8') as f:
            f.write(''.join(vm.write_sgf(r) for r in kept))
    print(f'{len(drop)} dropped')


if __name__ == '__main__':
    main()
