#!/usr/bin/env python3
"""The classical check: `velmora-data solve` over the classical works, bare
positions only: the sections of Gokyo Shumyo (1 living, 2 killing, 3 ko,
4 races, 5 oiotoshi, 6 connecting, 7 various), Xuanxuan Qijing and Guanzi Pu.

Each position is posed Black to play in the top-left corner (classical.py),
walled in by a frame (`solve --frame`, checked against a frame one line
further out) and solved within the limit. The transcriptions record no
answers: a Gokyo Shumyo position agrees when the class the solver proves is
what its section asks for (a life in section 1 and 6, a kill in sections 2,
4 and 5 (a race is posed as killing the opponent's stones), a ko in section
3, either in section 7). Xuanxuan Qijing and Guanzi Pu have no sections: a
position is tried as a kill and then as a life, and counts when Black
reaches at least a ko. A position whose best is reached by more than three
first moves is no problem (the frame has decided it) and is not shipped.
The solver's time is the CPU time of its process, so that a busy machine
does not change the figures.

    classical_check.py VELMORA_DATA MIRROR_GIT_DIR results.jsonl
        [--work gokyo|xxqj|gzp] [--tex-mirror TASUKI_TSUMEGO_GIT_DIR]
        [--sections 1,2] [--limit-ms 10000] [--frame 1] [--jobs 1] [--sample K] [--only 1-1,2-14]
        [--max-empty N] [--retry limit] [--aims kill] [--emit OUT.sgf --sources OUT.md]

--retry limit runs the positions the limit stopped once more (the last record
of a position is the one that counts).

--aims kill (or live) tries that aim only: a longer limit is spent on the
aim the position was posed for, not on the other side's stones.

--max-empty N tries an aim only when the frame (--frame) leaves at most N
empty points in play (`classical.frame_area`), and runs the positions
smallest first: the frame next to the liberties settles most
positions of up to 11 empty points within 10 s and almost none of 16 or more,
so this spends the CPU time where it proves something. A position with no
aim small enough is not run and not recorded (a later run with a larger N
takes it up).

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
import vmcontent as vm  # noqa: E402

WORKS = {'gokyo': 'Gokyo Shumyo', 'xxqj': 'Xuanxuan Qijing', 'gzp': 'Guanzi Pu',
         'hatsu': 'Igo Hatsuyoron'}
# The aims tried, in order, by section of Gokyo Shumyo; the other works have
# no sections.
AIMS = {'1': ['live'], '2': ['kill'], '3': ['kill', 'live'], '4': ['kill'], '5': ['kill'],
        '6': ['live', 'kill'], '7': ['kill', 'live']}
OTHER_AIMS = ['kill', 'live']
SECTIONS = {'1': 'living', '2': 'killing', '3': 'ko', '4': 'races', '5': 'oiotoshi',
            '6': 'connecting', '7': 'various'}
# Classes that reach the aim (the outcome table's names).
SUCCESS = {'live': ('黒生き', 'セキ(黒生き)', '黒生き(両コウ)', '長生（黒成功）'),
           'kill': ('白死', '白死(曲り４目)', '白死(両コウ)', '長生（黒成功）')}
# Classes of a ko Black can win or at least fight (the outcome table ranks
# them between a success and a failure).
KO = ('万年コウ(生き問題)', '２手ヨセコウ(黒有利)', '１手ヨセコウ(黒有利)', '２段コウ(黒有利)',
      '本コウ(黒取り番)', '本コウ(白取り番)', '２段コウ(白有利)', '１手ヨセコウ(白有利)',
      '万年コウ(殺し問題)')
MAX_CORRECT = 3
INSTRUCTION = {'live': '黒先で生きてください', 'kill': '黒先で白を殺してください'}
PP = {'live': 1, 'kill': 2}
LINE = re.compile(r'^\d+ \(([^)]*)\): (.*)$')


def point(p):
    return '[' + chr(97 + p[0]) + chr(97 + p[1]) + ']'


def position_sgf(d):
    return '(;SZ[19]PL[B]C[%s %s]AB%sAW%s)\n' % (
        d['work'], d['number'], ''.join(map(point, d['black'])), ''.join(map(point, d['white'])))


# White's resistance on correct lines, in moves: the 珍瓏 trees show eight.
RESIST_MOVES = 8


def solve(binary, d, aim, limit_ms, frame):
    """Runs solve on one position; returns the result record."""
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'p.sgf')
        out = os.path.join(tmp, 'o.sgf')
        with open(src, 'w') as f:
            f.write(position_sgf(d))
        proc = subprocess.Popen(['nice', '-n', '19', binary, 'solve', src, '--aim', aim,
                                 '--frame', str(frame), '--resist-moves', str(RESIST_MOVES),
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
                   ncorrect=len([m for m in moves.split(', ') if m]),
                   success=klass in SUCCESS[aim], ko=klass in KO)
        rec['agree'] = agrees(rec)
    elif 'frame decides' in text:
        rec.update(status='frame decides')
    elif proc.returncode == 2:
        rec.update(status='limit')
    else:
        rec.update(status='not solved')
    return rec


def section(r):
    return r['number'].split('-')[0] if r['work'] == 'Gokyo Shumyo' else ''


def agrees(r):
    """Whether a proved record reaches what the section asks for (None for a
    work without sections)."""
    sec = section(r)
    if not sec:
        return None
    if sec == '3':
        return r['ko']
    if sec == '7':
        return r['success'] or r['ko']
    return r['success'] and r['aim'] == AIMS[sec][0]


def shippable(r):
    """A proved position we can ship: it agrees (or, without sections, Black
    reaches at least a ko), and its best needs one of at most three moves."""
    if r.get('status') != 'proved':
        return False
    good = r['agree'] if r['agree'] is not None else (r['success'] or r['ko'])
    return bool(good) and r.get('ncorrect', 99) <= MAX_CORRECT


def aims_of(d):
    sec = d['number'].split('-')[0] if d['work'] == 'Gokyo Shumyo' else ''
    return AIMS.get(sec, OTHER_AIMS) if sec else OTHER_AIMS


def empty_in_play(d, aim, frame=0):
    """The empty points in play for `aim` with the frame `frame` lines out
    (0: next to the liberties; 99 when there is no target)."""
    area = classical.frame_area(d['black'], d['white'], 'B' if aim == 'live' else 'W', frame)
    return area['empty'] if area else 99


def solve_all_aims(binary, d, limit_ms, frame, max_empty=None, only_aims=None):
    """Tries the position's aims in order (those with at most `max_empty`
    empty points in play, when given, and among `only_aims`, when given);
    the first shippable answer wins, else the last record (with the earlier
    tries' statuses) is returned."""
    aims = [a for a in aims_of(d)
            if (max_empty is None or empty_in_play(d, a, frame) <= max_empty) and
            (not only_aims or a in only_aims)]
    tries, rec = [], None
    for aim in aims:
        rec = solve(binary, d, aim, limit_ms, frame)
        tries.append({k: rec.get(k) for k in ('aim', 'status', 'klass', 'cpu_s', 'ncorrect')})
        if shippable(rec):
            break
    rec['tries'] = tries
    rec['cpu_s'] = round(sum(t['cpu_s'] for t in tries), 2)
    return rec


def summary(records):
    rows = ['| section | positions | proved | agree with the aim | disagree | '
            'frame decides | limit | not solved |', '|---|---|---|---|---|---|---|---|']
    groups = {}
    for r in records:
        sec = section(r)
        name = f'{sec} {SECTIONS[sec]}' if sec else r['work']
        groups.setdefault(name, []).append(r)
    rows[0] = rows[0].replace('| limit |', '| limit | shippable |')
    rows[1] += '---|'
    for name, rs in groups.items():
        count = lambda s: sum(r['status'] == s for r in rs)  # noqa: E731
        agree = sum(bool(r.get('agree')) for r in rs)
        rows.append(f'| {name} | {len(rs)} | {count("proved")} | {agree} | '
                    f'{count("proved") - agree} | {count("frame decides")} | {count("limit")} | '
                    f'{sum(shippable(r) for r in rs)} | {count("not solved")} |')
    lines = ['\n'.join(rows), '']
    for r in records:
        if r['status'] == 'proved' and r.get('agree') is False:
            lines.append(f'disagrees: {r["number"]} {r["klass"]}; correct {r["correct"]}')
    return '\n'.join(lines)


def frame_text(frame):
    if frame == 0:
        return 'frame next to the liberties'
    return f'frame {frame} line{"s" if frame > 1 else ""} out'


def emit(records, out_path, sources_path, file_name):
    """The proved and agreeing positions as problems of ours."""
    trees, sources = [], []
    for r in records:
        if not shippable(r):
            continue
        tree = r['sgf'].strip()
        # solve writes the position's C (the work and number); ours carry
        # the instruction and the number instead.
        tree = re.sub(r'C\[[^\]]*\]', '', tree, count=1)
        # View shows the first correct line and the first wrong one.
        root = vm.parse_sgf(tree)[0]
        vm.mark_lines(root, prune=False)
        tree = vm.write_sgf(root).strip()
        tree = tree.replace('(;GM[1]FF[4]SZ[19]PL[B]',
                            '(;GM[1]FF[4]CA[UTF-8]SZ[19]PL[B]DF[0]CM[%s]GN[%s %s]' % (
                                INSTRUCTION[r['aim']], r['work'], r['number']), 1)
        trees.append(tree)
        sources.append(f'| s1 | {file_name} | {len(trees)} | {r["work"]} | {r["number"]} '
                       f'({"White" if r["swapped"] else "Black"} to play; {frame_text(r["frame"])}) '
                       f'| {r["repo"]} | '
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
    ap.add_argument('--work', default='gokyo', choices=sorted(WORKS))
    ap.add_argument('--tex-mirror', default='', help='tasuki/tsumego (Guanzi Pu)')
    ap.add_argument('--sections', default='1,2', help='of Gokyo Shumyo')
    ap.add_argument('--limit-ms', type=int, default=10000)
    ap.add_argument('--frame', type=int, default=1)
    ap.add_argument('--jobs', type=int, default=1)
    ap.add_argument('--sample', type=int, default=1, help='every K-th position only')
    ap.add_argument('--only', default='', help='these numbers only (1-1,2-14)')
    ap.add_argument('--emit', default='')
    ap.add_argument('--sources', default='')
    ap.add_argument('--max-empty', type=int, default=None,
                    help='aims with at most N empty points in play only, smallest first')
    ap.add_argument('--retry', default='',
                    help='run the positions recorded with this status again (limit: after the '
                         'solver got faster)')
    ap.add_argument('--aims', default='', choices=['', 'kill', 'live'],
                    help='try this aim only')
    ap.add_argument('--leave-out', default='',
                    help='numbers not to emit (shipped elsewhere, or slow to prove)')
    args = ap.parse_args()
    # A solver that cannot be started would record every position as not
    # solved; stop before anything is written instead.
    args.binary = os.path.abspath(args.binary)
    if not (os.path.isfile(args.binary) and os.access(args.binary, os.X_OK)):
        sys.exit(f'classical_check: no solver to run at {args.binary}')
    work = WORKS[args.work]
    sections = args.sections.split(',')
    wanted = lambda p: p['work'] == work and (  # noqa: E731
        work != 'Gokyo Shumyo' or p['number'].split('-')[0] in sections)
    done = {}
    if os.path.exists(args.results):
        for line in open(args.results):
            r = json.loads(line)
            if r['work'] == work:
                if r['status'] == 'proved':  # records of the earlier runs
                    r.setdefault('ncorrect', len([m for m in r['correct'].split(', ') if m]))
                    r['success'] = r['klass'] in SUCCESS[r['aim']]
                    r['ko'] = r['klass'] in KO
                    r['agree'] = agrees(r)
                done[r['number']] = r
    source = (classical.gzp_positions(args.tex_mirror) if work == 'Guanzi Pu'
              else classical.positions(args.mirror))
    todo = []
    for i, d in enumerate(p for p in source if wanted(p)):
        if args.only and d['number'] not in args.only.split(','):
            continue
        again = args.retry and d['number'] in done and done[d['number']]['status'] == args.retry
        if i % args.sample == 0 and (d['number'] not in done or again):
            todo.append(d)
    only_aims = [args.aims] if args.aims else None
    todo = [d for d in todo if not only_aims or args.aims in aims_of(d)]
    if args.max_empty is not None:
        sized = sorted((min(empty_in_play(d, a, args.frame) for a in aims_of(d)
                            if not only_aims or a in only_aims), i, d)
                       for i, d in enumerate(todo))
        todo = [d for size, _, d in sized if size <= args.max_empty]
    with open(args.results, 'a') as out, \
            concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = [pool.submit(solve_all_aims, args.binary, d, args.limit_ms, args.frame,
                               args.max_empty, only_aims) for d in todo]
        for fut in concurrent.futures.as_completed(futures):
            r = fut.result()
            done[r['number']] = r
            out.write(json.dumps(r, ensure_ascii=False) + '\n')
            out.flush()
            print(r['number'], r['status'], r.get('klass', ''), r.get('ncorrect', ''),
                  r['cpu_s'], 's', file=sys.stderr, flush=True)
    key = lambda r: tuple(int(x) for x in r['number'].split('-'))  # noqa: E731
    records = sorted((r for r in done.values() if wanted(r)), key=key)
    print(summary(records))
    if args.emit:
        left_out = args.leave_out.split(',')
        records = [r for r in records if r['number'] not in left_out and
                   (not args.only or r['number'] in args.only.split(','))]
        n = emit(records, args.emit, args.sources, os.path.basename(args.emit))
        print(f'{n} problems written to {args.emit}')


if __name__ == '__main__':
    main()
