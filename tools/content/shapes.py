#!/usr/bin/env python3
"""Generator of game-like life-and-death problems for the main collection.

A candidate is a group on the edge as it arises in play: an eye space along
the first lines of the corner or the side (the 2-1-point families, L-groups,
the carpenter's square, bent and straight shapes on the second and third
lines), the defender's stones around it, and the attacker's wall around
those, with its own liberties on the open board and diagonal gaps where the
group bends. Stones are added or taken away as in a real game (a placement,
a stone inside, a missing stone, a cutting stone). The solver classes every
candidate and grows its tree; a candidate is kept only when

  * it is proved and its best result is a success (life, death or a ko),
  * Black has one or two correct first moves and some wrong ones,
  * it is new under the eight symmetries and the colour swap,
  * and every stone is part of the fight or of the wall around it.

    shapes.py VELMORA_DATA OUT_DIR [--count N] [--seed S] [--existing DIR]...

writes OUT_DIR/{10,20,30}-FAMILY-SEED.sgf, one problem per tree, levels from
the length of the main line (see docs/problem-format.md). Besides the shapes,
--family race, capture and net build capturing races and cutting stones, and
snapback and stones positions where a snapback or a sacrifice of two stones
or more (under the stones) is on the board for the solver to judge. A
candidate one stone away from a known position is skipped unsolved.
"""
import argparse
import collections
import os
import random
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vmcontent as vm  # noqa: E402
import themes  # noqa: E402

VIEW = 13
MAX_COORD = VIEW - 3  # room for the wall's outside liberties


def eye_space(rng, sizes=(4, 9)):
    """A connected set of points along the edge: corner or side."""
    corner = rng.random() < 0.6
    start = (0, 0) if corner else (rng.randint(3, 5), 0)
    size = rng.randint(*sizes)
    third_line = rng.random() < 0.35
    space = {start}
    tries = 0
    while len(space) < size and tries < 200:
        tries += 1
        p = rng.choice(sorted(space))
        q = rng.choice(list(vm.neighbours(p)))
        x, y = q
        depth = min(x, y) if corner else y
        if depth > (2 if third_line else 1) or x > MAX_COORD - 2 or y > MAX_COORD - 2:
            continue
        if not corner and x < 2:
            continue
        space.add(q)
    return space


def build(rng, sizes=(4, 9), edge_gap=False):
    space = eye_space(rng, sizes)
    # The defender's stones: every point around the eye space, so that the
    # group is solid; some of its corners are then left out, so that it holds
    # together by diagonal links as groups in play do.
    defender = set()
    for x, y in space:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if q[0] >= 0 and q[1] >= 0 and q not in space:
                    defender.add(q)
    links = sorted(p for p in defender if not any(q in space for q in vm.neighbours(p)))
    rng.shuffle(links)
    loose = set(links[:rng.choice((0, 1, 2, len(links)))])
    defender -= loose
    # The wall: every point around the defender's stones, so that it is solid
    # as in a game; its corners are taken away below where it may bend.
    wall = set()
    for x, y in defender:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if q[0] < 0 or q[1] < 0 or q in space or q in defender or q in loose:
                    continue
                wall.add(q)
    if any(max(p) > MAX_COORD for p in wall):
        return None
    empty = set(space) | loose
    # Changes as in a game.
    inner = sorted(space)
    if rng.random() < 0.4 and len(inner) >= 4:
        p = rng.choice(inner)  # a placement or a stone thrown in
        wall.add(p)
        empty.discard(p)
    if rng.random() < 0.2 and len(empty) >= 5:
        p = rng.choice(sorted(empty))
        defender.add(p)
        empty.discard(p)
    edge = sorted(p for p in defender if any(q in wall for q in vm.neighbours(p)))
    if edge_gap:
        # A gap on the first line at the end of the eye space, where kos arise.
        first = [p for p in edge if min(p) == 0]
        if not first:
            return None
        p = rng.choice(first)
        edge.remove(p)
        defender.discard(p)
        empty.add(p)
    for _ in range(rng.choice((0, 0, 1, 1, 2))):
        # A stone the defender has not played yet.
        if len(edge) > 3:
            p = rng.choice(edge)
            edge.remove(p)
            defender.discard(p)
            empty.add(p)
    if rng.random() < 0.15 and len(edge) > 3:
        # A cutting stone of the attacker in the defender's shape.
        p = rng.choice(edge)
        defender.discard(p)
        wall.add(p)
    # Gaps in the wall: corner stones that only touch the group diagonally.
    corners = sorted(p for p in wall
                     if not any(q in defender or q in space or q in empty
                                for q in vm.neighbours(p)))
    rng.shuffle(corners)
    for p in corners[:rng.choice((0, 1, 2, 3))]:
        wall.discard(p)
    if not defender or len(empty) < 2:
        return None
    return defender, wall


def build_race(rng, long=False):
    """A capturing race along the edge: Black's chain on the second line
    with its liberties on the first, White's chain around it with a small
    space of its own at the end, Black's strong wall outside both:

        . . . . O . . X
        X X X X O . . X
        O O O O O O O X
        X X X X X X X X

    Lengths, spaces, shared liberties and stones inside either space vary.
    """
    length = rng.randint(4, 7) if long else rng.randint(3, 6)
    room = rng.randint(2, 4) if long else rng.randint(1, 3)  # width of White's space
    depth = rng.choice((1, 2))  # its depth (first line only, or two lines)
    black, white = set(), set()
    for x in range(length):
        black.add((x, 1))
    end = length  # White's column closing Black's chain
    for y in range(0, 2):
        white.add((end, y))
    right = end + room + 1
    for x in range(0, right):
        white.add((x, 2))
    if depth == 1:
        for x in range(end + 1, right):
            white.add((x, 1))
    for y in range(0, 3):
        black.add((right, y))
    for x in range(0, right + 1):
        black.add((x, 3))
    if right + 1 > MAX_COORD:
        return None
    # A gap between the chains: the stone at the end of Black's chain
    # missing, so that the two share a liberty.
    if rng.random() < 0.3:
        black.discard((length - 1, 1))
    # Stones inside the spaces.
    own = [(x, 0) for x in range(length)]
    theirs = [(x, y) for x in range(end + 1, right) for y in range(0, 2 if depth == 2 else 1)]
    for _ in range(rng.choice((0, 0, 1, 2))):
        p = rng.choice(own)
        if p not in white and p not in black:
            white.add(p)
    for _ in range(rng.choice((0, 1, 1, 2))):
        p = rng.choice(theirs)
        if p not in white and p not in black:
            black.add(p)
    # A corner wall stone may be missing (the wall bends there).
    if rng.random() < 0.3:
        black.discard((right, 3))
    if rng.random() < 0.5:
        # The same race told the other way round: White's chain inside.
        return {'black': white, 'white': black, 'aim': 3}
    return {'black': black, 'white': white, 'aim': 3}


def build_capture(rng, net=False, toward=None):
    """Cutting stones of White near the corner that Black captures in a
    ladder or a net: one or two White stones with two or three liberties,
    Black's stones on the other sides, and a Black stone or two nearby (the
    wall of a net, or a stone that makes a ladder work).

    `toward` lays the liberties out as the theme needs them: 'corner' leaves
    White's liberties on the side of the corner, so that a ladder runs to
    the edge; 'centre' leaves them facing the open board and puts Black's
    stones on the corner's side, where a net is the way to capture.
    """
    x0, y0 = rng.randint(1, 5), rng.randint(1, 5)
    if toward == 'corner':
        x0, y0 = rng.randint(2, 6), rng.randint(2, 6)
    white = {(x0, y0)}
    if rng.random() < 0.5:
        white.add((x0 + 1, y0) if rng.random() < 0.5 else (x0, y0 + 1))
    black = set()
    around = sorted({q for p in white for q in vm.neighbours(p)} - white)
    rng.shuffle(around)
    if toward == 'corner':
        around.sort(key=lambda q: -(q[0] + q[1]))  # Black's stones away from the corner
    elif toward == 'centre':
        around.sort(key=lambda q: q[0] + q[1])  # Black's stones on the corner's side
    free = rng.choice((3, 3, 4)) if net else rng.choice((2, 2, 3))
    if toward == 'corner':
        free = 2
    elif toward == 'centre':
        free = rng.choice((2, 2, 3))
    for q in around[:len(around) - free]:
        black.add(q)
    for _ in range(rng.choice((1, 2, 2, 3) if toward == 'centre' else (0, 1, 1, 2))):
        # A Black stone nearby: the wall of a net, or one that makes a ladder work.
        if toward == 'centre':
            p = (rng.randint(x0, x0 + 3), rng.randint(y0, y0 + 3))
        else:
            p = (rng.randint(max(0, x0 - 3), x0 + 4), rng.randint(max(0, y0 - 3), y0 + 4))
        if p not in black and p not in white:
            black.add(p)
    if max(max(p) for p in black | white) > 8:
        return None
    return {'black': black, 'white': white, 'aim': 2}


def build_goal(rng):
    """A connection or a cut in the corner: a strip of the first two or three
    lines, closed along its length by one side's wall and at its end by the
    other side's, both with their liberties on the open board. Stones of the
    side at stake stand in the strip apart from their wall; the other side's
    stones stand between. Connect: Black's stones in the strip must all be
    saved (joined to Black's wall, or living, or by taking the cutting
    stones); cut: White's must all be captured. Aim 0 with GL names it."""
    goal = rng.choice(('connect', 'cut'))
    mine, theirs = (set(), set())
    w, h = rng.randint(4, 7), rng.choice((2, 2, 3))
    # The wall of the side at stake closes the strip's end, the other's its length.
    end_wall = {(w, y) for y in range(h + 1)}
    side_wall = {(x, h) for x in range(w)}
    strip = [(x, y) for y in range(h) for x in range(w)]
    for _ in range(rng.randint(1, 4)):
        p = (rng.randint(0, max(0, w - 3)), rng.randint(0, h - 1))
        mine.add(p)
    for _ in range(rng.randint(2, 5)):
        p = rng.choice(strip)
        if p not in mine:
            theirs.add(p)
    if rng.random() < 0.3:
        # A stone of the side at stake near its wall, inviting a connection.
        p = (w - 1, rng.randint(0, h - 1))
        if p not in theirs:
            mine.add(p)
    mine |= end_wall
    theirs |= side_wall
    board = _board(mine, set())
    joined = vm.chain(board, (w, 0))[0]
    if not (mine - set(joined)):
        return None  # nothing at stake: every stone is part of the wall
    black, white = (mine, theirs) if goal == 'connect' else (theirs, mine)
    if rng.random() < 0.5:  # the strip along the other edge
        black = {(y, x) for x, y in black}
        white = {(y, x) for x, y in white}
    return {'black': black, 'white': white, 'aim': 0, 'goal': goal}


def _board(black, white):
    board = {p: 'B' for p in black}
    board.update({p: 'W' for p in white})
    return board


def _black_move(black, white, p):
    """Black's stone at p, or None when the point is taken or the move is
    suicide: (black, white, captured) after it."""
    if p in black or p in white or min(p) < 0 or max(p) >= VIEW:
        return None
    nb, nw = vm.play(black, white, 'B', p)
    if not vm.chain(_board(nb, nw), p)[1]:
        return None
    return nb, nw, white - nw


def _given_up(black, white):
    """Black's moves that take nothing and leave Black's chain in atari, as
    (point, the chain, White's point that takes it, the position after
    White takes)."""
    for p in _near(black | white):
        moved = _black_move(black, white, p)
        if not moved or moved[2]:
            continue
        nb, nw, _ = moved
        stones, libs = vm.chain(_board(nb, nw), p)
        if len(libs) != 1:
            continue
        (taker,) = libs
        after = vm.play(nb, nw, 'W', taker)
        if stones & after[0]:
            continue  # White's stone there is suicide
        yield p, stones, taker, after


def snapback_points(black, white):
    """The points where Black throws in a lone stone that White can only
    take by filling its own last liberty but one, so that Black takes back
    two stones or more at once (a snapback)."""
    out = []
    for a, stones, taker, (ab, aw) in _given_up(black, white):
        if len(stones) != 1:
            continue
        group, glibs = vm.chain(_board(ab, aw), taker)
        if glibs == {a} and len(group) >= 2:
            out.append(a)
    return out


def under_the_stones_points(black, white):
    """The points where Black gives up two stones or more in atari, and
    after White takes them Black plays on the ground just emptied and
    ataris or takes White's stones there (under the stones)."""
    out = []
    for m, stones, taker, (ab, aw) in _given_up(black, white):
        taken = stones
        if len(taken) < 2:
            continue
        for q in sorted(taken):
            # Black plays back on the emptied ground: White's stones there
            # are taken, or a White chain of two stones or more is in atari.
            back = _black_move(ab, aw, q)
            if not back:
                continue
            bb, bw, took = back
            board = _board(bb, bw)
            if took or any(
                    board.get(r) == 'W' and len(vm.chain(board, r)[1]) == 1
                    and len(vm.chain(board, r)[0]) >= 2 for r in vm.neighbours(q)):
                out.append(m)
                break
    return out


def _near(stones):
    """Empty points next to or diagonal to a stone, inside the view."""
    out = set()
    for x, y in stones:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if 0 <= q[0] < VIEW and 0 <= q[1] < VIEW and q not in stones:
                    out.add(q)
    return sorted(out)


def build_snapback(rng):
    """Cutting stones of White near the corner caught by a snapback: the
    throw-in point A (its other neighbours White), White's point L next to
    it, White's stones around A grown by a stone or two, Black's stones on
    every other liberty of White's and next to L. Black then has a stone
    more or less as in a game (a liberty White still has, or a stone
    Black has not played yet); the solver decides whether the snapback is
    the answer."""
    a = (rng.randint(1, 6), 0) if rng.random() < 0.6 else (rng.randint(1, 5), rng.randint(1, 4))
    nbrs = list(vm.neighbours(a, VIEW))
    away = [q for q in nbrs if q[1] >= a[1]] if a[1] == 0 else nbrs
    taker = rng.choice(away)
    white = {q for q in nbrs if q != taker}
    # The stones that join White's stones around A to L once White takes.
    joints = sorted({q for w in white for q in vm.neighbours(w, VIEW)
                     if q in set(vm.neighbours(taker, VIEW)) and q != a})
    rng.shuffle(joints)
    white |= set(joints[:rng.randint(1, len(joints))]) if joints else set()
    for _ in range(rng.choice((0, 1, 1, 2))):
        p = rng.choice(sorted(white))
        q = rng.choice(list(vm.neighbours(p, VIEW)))
        if q not in (a, taker) and q not in white and not any(r == a for r in vm.neighbours(q)):
            white.add(q)
    black = set()
    for p in white | {taker}:
        for q in vm.neighbours(p, VIEW):
            if q not in white and q not in (a, taker):
                black.add(q)
    if rng.random() < 0.5:
        p = rng.choice(sorted(black))
        if not any(q in (a, taker) for q in vm.neighbours(p)):
            black.discard(p)
    if rng.random() < 0.3:
        p = rng.choice(_near(black | white))
        if p not in (a, taker):
            black.add(p)
    if max(max(p) for p in black | white) > 8 or not vm.every_chain_has_liberty(black, white):
        return None
    return {'black': black, 'white': white, 'aim': 2}


TESTS = {'snapback': snapback_points, 'stones': under_the_stones_points}


def build_tesuji(rng, theme, sizes=(4, 9)):
    """A corner or side shape (or cutting stones near the corner) turned
    into a position where the theme's first step is on the board: the shape
    as it is, or with one stone more or less as in a game (a placement, a
    stone not played yet), kept when `snapback_points` or
    `under_the_stones_points` finds the point. The solver decides whether
    the theme is the answer."""
    if theme == 'snapback' and rng.random() < 0.7:
        return build_snapback(rng)
    if rng.random() < 0.35:
        made = build_capture(rng, net=rng.random() < 0.5)
        if not made:
            return None
        black, white, aim = made['black'], made['white'], 2
        defender = white
    else:
        shape = build(rng, sizes, rng.random() < 0.3)
        if not shape:
            return None
        defender, wall = shape
        if not keep_stones_near(defender, wall) or not tidy(defender):
            return None
        live = rng.random() < 0.35
        black, white = (defender, wall) if live else (wall, defender)
        aim = 1 if live else 2
    test = TESTS[theme]
    variants = [(black, white)]
    for p in _near(black | white):
        variants.append((black | {p}, white))
        variants.append((black, white | {p}))
    for p in sorted(black | white):
        variants.append((black - {p}, white - {p}))
    rng.shuffle(variants)
    variants.sort(key=lambda v: v != (black, white))  # the shape as it is first
    for b, w in variants:
        if not b or not w or not vm.every_chain_has_liberty(b, w):
            continue
        if aim in (1, 2) and (b, w) != (black, white) and not tidy(b if aim == 1 else w):
            continue
        if test(b, w):
            return {'black': b, 'white': w, 'aim': aim}
    return None


def tidy(defender):
    """A group as in play: at most three chains, at most one of them a
    lone stone."""
    sizes = vm.chain_sizes(defender)
    return len(sizes) <= 3 and sum(1 for n in sizes if n == 1) <= 1


def keep_stones_near(defender, wall):
    """Every stone within two points of the fight or part of a connected
    wall: true by construction, checked here for safety."""
    fight = defender
    for p in wall:
        if min(max(abs(p[0] - d[0]), abs(p[1] - d[1])) for d in fight) > 2:
            return False
    return True


def has_theme(root, names):
    """Whether a grown problem has one of the themes named (as themes.py
    counts them; 'under-the-stones' and 'under the stones' are the same)."""
    wanted = {t.replace('-', ' ') for t in names}
    return bool(wanted & {t.replace('-', ' ') for t in themes.themes_of(root)})


def one_stone_less(black, white):
    """The keys of the position with one stone taken off, each stone in
    turn: two positions one stone apart (as `velmora-data audit` reports
    near duplicates) share one of them, or one is the other's."""
    return {vm.canonical_key(black - {p}, white - {p}) for p in black | white}


def save(folder, family, seed, level, texts):
    """Writes the problems kept so far (the run may be stopped at any time)."""
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, f'{level}-{"capture" if family == "net" else family}-{seed}.sgf')
    with open(path + '.tmp', 'w', encoding='utf-8') as f:
        f.write(''.join(texts))
    os.replace(path + '.tmp', path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('binary')
    ap.add_argument('out')
    ap.add_argument('--count', type=int, default=100)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--limit-ms', type=int, default=1500)
    ap.add_argument('--prove-ms', type=float, default=150.0)
    ap.add_argument('--existing', action='append', default=[])
    ap.add_argument('--min-size', type=int, default=4)
    ap.add_argument('--max-size', type=int, default=9)
    ap.add_argument('--family', default='shapes', choices=('shapes', 'race', 'capture', 'ko', 'net', 'snapback',
                             'stones', 'goal'))
    ap.add_argument('--max-tries', type=int, default=100000)
    ap.add_argument('--quota', default='10:100000,20:100000,30:100000')
    ap.add_argument('--toward', choices=('corner', 'centre'),
                    help='capture family: White\'s liberties toward the corner (ladders) or '
                         'the open board (nets)')
    ap.add_argument('--also', action='append', default=[],
                    help='keep problems with this theme even when their level is full')
    ap.add_argument('--theme', action='append', default=[],
                    help='keep only problems with one of these themes (see themes.py)')
    args = ap.parse_args()
    rng = random.Random(args.seed)
    tool = vm.Tool(args.binary)
    quota = {int(k): int(v) for k, v in (q.split(':') for q in args.quota.split(','))}

    seen = set()
    known = set()  # the positions kept before and here
    fewer = set()  # those positions with one stone taken off
    for folder in args.existing:
        for root, _, files in os.walk(folder):
            for f in files:
                if not f.lower().endswith('.sgf'):
                    continue
                with open(os.path.join(root, f), encoding='utf-8-sig') as fh:
                    for tree in vm.parse_sgf(fh.read()):
                        b = {(ord(v[0]) - 97, ord(v[1]) - 97) for v in (tree.get('AB') or [])}
                        w = {(ord(v[0]) - 97, ord(v[1]) - 97) for v in (tree.get('AW') or [])}
                        seen.add(vm.canonical_key(b, w))
                        known.add(vm.canonical_key(b, w))
                        fewer |= one_stone_less(b, w)
    kept = {10: [], 20: [], 30: []}
    rejected = collections.Counter()
    spent = collections.Counter()
    tries = 0
    t0 = time.time()
    while sum(len(v) for v in kept.values()) < args.count and tries < args.max_tries:
        tries += 1
        goal = ''
        if args.family in ('race', 'capture', 'net', 'snapback', 'stones', 'goal'):
            if args.family == 'goal':
                made = build_goal(rng)
                goal = f"GL[{made['goal']}]"
            elif args.family in ('snapback', 'stones'):
                made = build_tesuji(rng, args.family, (args.min_size, args.max_size))
            elif args.family == 'race':
                made = build_race(rng, args.min_size > 4)
            else:
                made = build_capture(rng, args.family == 'net', args.toward)
            if not made:
                continue
            black, white, aim = made['black'], made['white'], made['aim']
        else:
            shape = build(rng, (args.min_size, args.max_size), args.family == 'ko')
            if not shape:
                continue
            defender, wall = shape
            if not keep_stones_near(defender, wall) or not tidy(defender):
                continue
            live = rng.random() < 0.4
            black, white = (defender, wall) if live else (wall, defender)
            aim = 1 if live else 2
        if not vm.every_chain_has_liberty(black, white):
            continue
        key = vm.canonical_key(black, white)
        if key in seen:
            continue
        seen.add(key)
        mine = one_stone_less(black, white)
        if key in fewer or mine & known:
            rejected['one stone from a known position'] += 1
            continue
        started = time.time()
        grown, why = tool.grow(vm.root_sgf(black, white, aim, VIEW, extra=goal), args.limit_ms)
        spent['grow'] += time.time() - started
        if not grown:
            rejected['not grown'] += 1
            spent['not grown'] += time.time() - started
            continue
        root = vm.parse_sgf(grown)[0]
        best, klass = vm.minimax(root)
        if best < 140 or (args.family == 'ko' and klass not in vm.KO_CLASSES) or \
                (args.family == 'goal' and klass in vm.KO_CLASSES):
            rejected['failure or not ko'] += 1
            continue
        correct, wrong = vm.mark_lines(root)
        if correct > 2 or wrong < 1:
            rejected['correct/wrong moves'] += 1
            continue
        moves = vm.measure(root)[0]
        level = vm.level_for(root)
        if args.family in ('capture', 'net'):
            level = 10  # a ladder or a net is long but not hard
        if args.family == 'net':
            first = [k for k in root.kids if vm.minimax(k, False)[0] == best][0]
            v = first.props[0][1][0]
            p = (ord(v[0]) - 97, ord(v[1]) - 97)
            if any(q in white for q in vm.neighbours(p)):
                continue  # not a net: the first move touches White's stones
        if args.theme and not has_theme(root, args.theme):
            rejected['theme'] += 1
            continue
        if len(kept[level]) >= quota.get(level, 0) and not has_theme(root, args.also):
            rejected[f'level {level} full'] += 1
            continue
        root.set('DF', [str(level)])
        text = vm.write_sgf(root)
        started = time.time()
        ok, lines = tool.prove_set({'abc': text})
        spent['prove'] += time.time() - started
        m = re.search(r'\((\d+) nodes, (\d+) ms\)', lines[0] if lines else '')
        if not ok or 'proved' not in (lines[0] if lines else '') or not m \
                or float(m.group(2)) > args.prove_ms:
            rejected['prove'] += 1
            continue
        kept[level].append(text)
        known.add(key)
        fewer |= mine
        save(args.out, args.family, args.seed, level, kept[level])
        print(f'{tries} tries, {time.time() - t0:.0f}s: kept level {level} class {klass} '
              f'line {moves} ({sum(len(v) for v in kept.values())})', file=sys.stderr, flush=True)
    print(f'{tries} tries: ' + ', '.join(f'{k}: {len(v)}' for k, v in kept.items()),
          file=sys.stderr)
    print('left out: ' + ', '.join(f'{k} {v}' for k, v in rejected.most_common()), file=sys.stderr)
    print('seconds: ' + ', '.join(f'{k} {v:.0f}' for k, v in spent.most_common()), file=sys.stderr)


if __name__ == '__main__':
    main()
