#!/usr/bin/env python3
"""The classical check: `velmora-data solve` over the life-and-death sections
of Gokyo Shumyo (section 1 living, section 2 killing), bare positions only.

Each position is posed Black to play in the top-left corner (classical.py),
walled in by a frame (`solve --frame`, checked against a frame one line
further out) and solved within the limit. The transcription records no
answers: a position agrees when the class the solver proves is the section's
aim (a life for section 1, a kill for section 2). The solver's time is the
CPU time of its process, so that a busy machine does not change the figures.

    classical_check.py VELMORA_DATA MIRROR_GIT_DIR results.jsonl
        [--sections 1,2] [--limit-ms 10000] [--frame 1] [--jobs 1] [--sample K] [--only 1-1,2-14]
        [--emit OUT.sgf --sources OUT.md]

Results are appended to results.jsonl (positions already there are skipped,
so an interrupted run goes on where it stopped); the summary table goes to
standard output. --emit writes the proved and agreeing positions as problems
of ours (the solver's tree, an instruction, the work and number in GN), one
tree each, and --sources their lines for data/problems/SOURCES.md.
"""
import argparse
import concurrent.futures
import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import classical  # noqa: E402

AIMS = {'1': 'live', '2': 'kill'}
# Classes that reach the aim (the outcome table's names).
SUCCESS = {'live': ('黒生き', 'セキ(黒生き)'), 'kill': ('白死', '白死(曲り４目)')}
INSTRUCTION = {'live': '黒先で生きてください', 'kill': '黒先で白を殺してください'}
PP = {'live': 1, 'kill': 2}
LINE = re.compile(r'^\d+ \(([^)]*)\): (.*)$')


def point(p):
    return '[' + chr(97 + p[0]) + chr(97 + p[1]) + ']'


def position_sgf(d):
    return '(;SZ[19]PL[B]C[%s %s]AB%sAW%s)\n' % (
        d['work'], d['number'], ''.join(map(point, d['black'])), ''.join(map(point, d['white'])))


def solve(binary, d, aim, limit_ms, frame):
    """Runs solve on one position; returns the result record."""
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'p.sgf')
        out = os.path.join(tmp, 'o.sgf')
        with open(src, 'w') as f:
            f.write(position_sgf(d))
        proc = subprocess.Popen([binary, 'solve', src, '--aim', aim, '--frame', str(frame),
                                 '--limit-ms', str(limit_ms), '-o', out],
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        err = proc.stderr.read()
        proc.stderr.close()
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
        sgf = open(out).read() if os.path.exists(out) else ''
    rec = {k: d[k] for k in ('work', 'number', 'repo', 'path', 'commit', 'swapped')}
    rec.update(aim=aim, frame=frame, limit_ms=limit_ms,
               cpu_s=round(usage.ru_utime + usage.ru_stime, 2), exit=proc.returncode)
    text = ''
    for line in err.splitlines():
        m = LINE.match(line)
        if m:
            text = m.group(2)
    rec['said'] = text
    if proc.returncode == 0 and sgf.strip():
        klass = text.split(',')[0].split(';')[0].strip()
        moves = text.split('correct ', 1)[1].rsplit(' (', 1)[0] if 'correct ' in text else ''
        rec.update(status='proved', klass=klass, correct=moves, sgf=sgf,
                   agree=klass in SUCCESS[aim])
    elif 'frame decides' in text:
        rec.update(status='frame decides')
    elif proc.returncode == 2:
        rec.update(status='limit')
    else:
        rec.update(status='not solved')
    return rec


def summary(records):
    rows = ['| section | positions | proved | agree with the aim | disagree | '
            'frame decides | limit | not solved |', '|---|---|---|---|---|---|---|---|']
    for sec, name in (('1', 'living'), ('2', 'killing')):
        rs = [r for r in records if r['number'].split('-')[0] == sec]
        if not rs:
            continue
        count = lambda s: sum(r['status'] == s for r in rs)  # noqa: E731
        agree = sum(r.get('agree', False) for r in rs)
        rows.append(f'| {sec} {name} | {len(rs)} | {count("proved")} | {agree} | '
                    f'{count("proved") - agree} | {count("frame decides")} | {count("limit")} | '
                    f'{count("not solved")} |')
    lines = ['\n'.join(rows), '']
    for r in records:
        if r['status'] == 'proved' and not r['agree']:
            lines.append(f'disagrees: {r["number"]} {r["klass"]}; correct {r["correct"]}')
    return '\n'.join(lines)


def emit(records, out_path, sources_path, file_name):
    """The proved and agreeing positions as problems of ours."""
    trees, sources = [], []
    for r in records:
        if r['status'] != 'proved' or not r['agree']:
            continue
        tree = r['sgf'].strip()
        # solve writes the position's C (the work and number); ours carry
        # the instruction and the number instead.
        tree = re.sub(r'C\[[^\]]*\]', '', tree, count=1)
        # The main line (first variation throughout) is the one View shows.
        tree = re.sub(r'(OC\[\d+\])', r'\1RP[1]', tree, count=1)
        # And the last line, a wrong first move's refutation, as a failure.
        last = list(re.finditer(r'OC\[(\d+)\](?!RP)', tree))
        if last and int(last[-1].group(1)) in (53, 55, 59, 60):
            tree = tree[:last[-1].end()] + 'RP[1]' + tree[last[-1].end():]
        tree = tree.replace('(;GM[1]FF[4]SZ[19]PL[B]',
                            '(;GM[1]FF[4]CA[UTF-8]SZ[19]PL[B]DF[0]CM[%s]GN[%s %s]' % (
                                INSTRUCTION[r['aim']], r['work'], r['number']), 1)
        trees.append(tree)
        sources.append(f'| s1 | {file_name} | {len(trees)} | {r["work"]} | {r["number"]} '
                       f'({"White" if r["swapped"] else "Black"} to play; frame '
                       f'{r["frame"]} line{"s" if r["frame"] > 1 else ""} out) | {r["repo"]} | '
                       f'{r["path"]} | {r["commit"]} |')
    with open(out_path, 'w') as f:
        f.write('\n'.join(trees) + '\n')
    if sources_path:
        with open(sources_path, 'w') as f:
            f.write('\n'.join(sources) + '\n')
    return len(trees)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('binary')
    ap.add_argument('mirror')
    ap.add_argument('results')
    ap.add_argument('--sections', default='1,2')
    ap.add_argument('--limit-ms', type=int, default=10000)
    ap.add_argument('--frame', type=int, default=1)
    ap.add_argument('--jobs', type=int, default=1)
    ap.add_argument('--sample', type=int, default=1, help='every K-th position only')
    ap.add_argument('--only', default='', help='these numbers only (1-1,2-14)')
    ap.add_argument('--emit', default='')
    ap.add_argument('--sources', default='')
    ap.add_argument('--leave-out', default='',
                    help='numbers not to emit (shipped elsewhere, or slow to prove)')
    args = ap.parse_args()
    sections = args.sections.split(',')
    done = {}
    if os.path.exists(args.results):
        for line in open(args.results):
            r = json.loads(line)
            done[r['number']] = r
    todo = []
    for i, d in enumerate(p for p in classical.positions(args.mirror)
                          if p['work'] == 'Gokyo Shumyo' and p['number'].split('-')[0] in sections):
        if args.only and d['number'] not in args.only.split(','):
            continue
        if i % args.sample == 0 and d['number'] not in done:
            todo.append(d)
    with open(args.results, 'a') as out, \
            concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = [pool.submit(solve, args.binary, d, AIMS[d['number'].split('-')[0]],
                               args.limit_ms, args.frame) for d in todo]
        for fut in concurrent.futures.as_completed(futures):
            r = fut.result()
            done[r['number']] = r
            out.write(json.dumps(r, ensure_ascii=False) + '\n')
            out.flush()
            print(r['number'], r['status'], r.get('klass', ''), r['cpu_s'], 's', file=sys.stderr,
                  flush=True)
    key = lambda r: tuple(int(x) for x in r['number'].split('-'))  # noqa: E731
    records = sorted((r for r in done.values() if r['number'].split('-')[0] in sections), key=key)
    print(summary(records))
    if args.emit:
        left_out = args.leave_out.split(',')
        records = [r for r in records if r['number'] not in left_out]
        n = emit(records, args.emit, args.sources, os.path.basename(args.emit))
        print(f'{n} problems written to {args.emit}')


if __name__ == '__main__':
    main()
