"""Shared helpers of the offline problem tools: positions, symmetry keys,
SGF text, and running velmora-data to grow and prove a candidate.

A position is a pair of sets of (x, y) points, Black and White; Black plays
first. Problems sit in the top-left corner of the board.
"""
import os
import re
import subprocess
import tempfile

SIDE = 19


def pt(x, y):
    return chr(97 + x) + chr(97 + y)


def neighbours(p, limit=SIDE):
    x, y = p
    for q in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
        if 0 <= q[0] < limit and 0 <= q[1] < limit:
            yield q


def symmetries(points, n=SIDE - 1):
    """The eight images of a set of points, as sorted tuples."""
    out = []
    for swap in (False, True):
        for fx in (False, True):
            for fy in (False, True):
                img = []
                for x, y in points:
                    if swap:
                        x, y = y, x
                    if fx:
                        x = n - x
                    if fy:
                        y = n - y
                    img.append((x, y))
                out.append(img)
    return out


def canonical_key(black, white):
    """The same for a position and its images under the eight symmetries and
    the colour swap: the smallest of the sixteen, shifted to the origin."""
    best = None
    for first, second in ((black, white), (white, black)):
        pts = [(p, 1) for p in first] + [(p, 2) for p in second]
        for img in symmetries([p for p, _ in pts]):
            key = tuple(sorted(((x, y, c) for (x, y), (_, c) in zip(img, pts))))
            if best is None or key < best:
                best = key
    return best


def chain(board, p):
    """The chain at p and its liberties; board maps point -> 'B'/'W'."""
    colour = board[p]
    seen = {p}
    libs = set()
    stack = [p]
    while stack:
        q = stack.pop()
        for r in neighbours(q):
            v = board.get(r)
            if v is None:
                libs.add(r)
            elif v == colour and r not in seen:
                seen.add(r)
                stack.append(r)
    return seen, libs


def chain_sizes(stones):
    """The sizes of the chains a set of stones of one colour forms."""
    board = {p: 'B' for p in stones}
    seen, sizes = set(), []
    for p in sorted(stones):
        if p in seen:
            continue
        group, _ = chain(board, p)
        seen |= group
        sizes.append(len(group))
    return sizes


def every_chain_has_liberty(black, white):
    board = {p: 'B' for p in black}
    board.update({p: 'W' for p in white})
    done = set()
    for p in board:
        if p in done:
            continue
        stones, libs = chain(board, p)
        done |= stones
        if not libs:
            return False
    return True


def root_sgf(black, white, aim, vs, level=10, extra=''):
    def order(s):
        return sorted(s, key=lambda p: (p[1], p[0]))
    ab = ''.join('[' + pt(x, y) + ']' for x, y in order(black))
    aw = ''.join('[' + pt(x, y) + ']' for x, y in order(white))
    props = f"GM[1]FF[4]CA[UTF-8]SZ[19]VS[{vs}]DF[{level}]PP[{aim}]{extra}"
    if ab:
        props += 'AB' + ab
    if aw:
        props += 'AW' + aw
    return f"(;{props})\n"


def set_files(problems, s):
    """The source files of one set folder in compile order (byte order of
    the name); none when the folder is missing."""
    folder = os.path.join(problems, s)
    if not os.path.isdir(folder):
        return []
    names = [n for n in os.listdir(folder) if n.lower().endswith('.sgf')]
    return [os.path.join(folder, n) for n in sorted(names, key=lambda n: n.encode())]


def stones(root):
    """The start position of a problem's root node: (black, white)."""
    b = {(ord(v[0]) - 97, ord(v[1]) - 97) for v in (root.get('AB') or [])}
    w = {(ord(v[0]) - 97, ord(v[1]) - 97) for v in (root.get('AW') or [])}
    return b, w


# --- A small reader for the trees that `velmora-data grow` writes ----------

class Node:
    def __init__(self, props, parent=None):
        self.props = props  # list of [ident, [values]]
        self.kids = []
        self.parent = parent

    def get(self, ident):
        for k, v in self.props:
            if k == ident:
                return v
        return None

    def set(self, ident, values):
        for p in self.props:
            if p[0] == ident:
                p[1] = values
                return
        self.props.append([ident, values])


_TOKEN = re.compile(r"\s*(?:([();])|([A-Z]+)((?:\s*\[(?:\\.|[^\]\\])*\])+))", re.S)
_VALUE = re.compile(r"\[((?:\\.|[^\]\\])*)\]", re.S)


def parse_sgf(text):
    """Game trees of an SGF text as lists of root Nodes."""
    roots = []
    stack = []
    current = None
    pos = 0
    while True:
        m = _TOKEN.match(text, pos)
        if not m:
            break
        pos = m.end()
        if m.group(1) == '(':
            stack.append(current)
        elif m.group(1) == ')':
            current = stack.pop()
        elif m.group(1) == ';':
            node = Node([], current)
            if current is None:
                roots.append(node)
            else:
                current.kids.append(node)
            current = node
        else:
            current.props.append([m.group(2), [re.sub(r'\\(.)', r'\1', v, flags=re.S)
                                               for v in _VALUE.findall(m.group(3))]])
    return roots


def write_sgf(root):
    out = []

    def write(node):
        out.append(';')
        for ident, values in node.props:
            out.append(ident + ''.join('[' + v.replace('\\', '\\\\').replace(']', '\\]') + ']'
                                       for v in values))
        if len(node.kids) == 1:
            out.append('\n')
            write(node.kids[0])
        else:
            for k in node.kids:
                out.append('\n(')
                write(k)
                out.append(')')
    out.append('(')
    write(root)
    out.append(')\n')
    return ''.join(out)


# --- Running velmora-data --------------------------------------------------

# Values of the outcome classes for Black, as the program ranks them.
CLASS_VALUE = {4: 200, 5: 200, 6: 199, 7: 199, 9: 199, 10: 200, 11: 200, 12: 210, 13: 210,
               14: 195, 15: 190, 20: 180, 25: 180, 30: 170, 35: 160, 40: 150, 45: 150, 50: 140,
               51: 135, 53: 131, 54: 131, 55: 130, 56: 130, 57: 130, 58: 130, 59: 131, 60: 130,
               61: 131, 62: 130}
KO_CLASSES = {7, 9, 14, 15, 20, 25, 30, 35, 40, 45, 50, 51, 54, 61}
SEKI_CLASSES = {11, 53}


def minimax(node, black_to_move=True):
    """The best class value both sides force below a node and its class."""
    if not node.kids:
        oc = node.get('OC')
        k = int(oc[0]) if oc else 0
        return CLASS_VALUE.get(k, 0), k
    results = [minimax(k, not black_to_move) for k in node.kids]
    pick = max if black_to_move else min
    return pick(results, key=lambda r: r[0])


def walk(node):
    yield node
    for k in node.kids:
        yield from walk(k)


def main_line(root):
    """Moves of the first correct line: the first child of best value at each
    Black node, White's first reply."""
    best, _ = minimax(root)
    node = root
    n = 0
    black = True
    while node.kids:
        if black:
            node = next(k for k in node.kids if minimax(k, False)[0] == best)
        else:
            node = node.kids[0]
        black = not black
        n += 1
    return n


def first_line(root):
    """The points of the first correct line: at Black's turn the first move
    that keeps the best result, at White's the first reply."""
    best, _ = minimax(root)
    node, line, black = root, [], True
    while node.kids:
        node = next(k for k in node.kids if minimax(k, False)[0] == best) if black else node.kids[0]
        v = node.props[0][1][0]
        line.append((ord(v[0]) - 97, ord(v[1]) - 97))
        black = not black
    return line


def stray_stones(root):
    """Stones more than two points from every other stone and from every
    move of the first correct line: not part of the fight nor of a wall."""
    black, white = stones(root)
    everything = black | white | set(first_line(root))
    return sorted(p for p in black | white
                  if all(max(abs(p[0] - q[0]), abs(p[1] - q[1])) > 2
                         for q in everything if q != p))


def prune_bare_wrong(root):
    """Drops wrong first moves that end at once, without White's answer: a
    learner would not see why they fail."""
    best, _ = minimax(root)
    root.kids = [k for k in root.kids if k.kids or minimax(k, False)[0] == best]


def mark_lines(root, prune=True):
    """Puts RP on the leaf of the first correct line and of the first wrong
    line, so that View has a line of each to show. `prune` drops the wrong
    first moves that have no White answer."""
    if prune:
        prune_bare_wrong(root)
    for node in walk(root):
        for ident in ('RP',):
            node.props = [p for p in node.props if p[0] != ident]
    best, _ = minimax(root)
    correct = [k for k in root.kids if minimax(k, False)[0] == best]
    wrong = [k for k in root.kids if minimax(k, False)[0] != best]
    for first in (correct[:1] + wrong[:1]):
        node = first
        while node.kids:
            node = node.kids[0]
        node.set('RP', ['1'])
    return len(correct), len(wrong)


class Tool:
    def __init__(self, binary):
        self.binary = binary
        self.work = tempfile.mkdtemp(prefix='vmcontent-')

    def grow(self, sgf_text, limit_ms):
        src = os.path.join(self.work, 'in.sgf')
        with open(src, 'w', encoding='utf-8') as f:
            f.write(sgf_text)
        try:
            r = subprocess.run([self.binary, 'grow', src, '--limit-ms', str(limit_ms)],
                               capture_output=True, text=True, timeout=limit_ms / 1000 * 40 + 30)
        except subprocess.TimeoutExpired:
            return None, 'timeout'
        if r.returncode != 0 or 'not grown' in r.stderr:
            return None, r.stderr.strip()
        return r.stdout, ''

    def prove_set(self, sets, limit_ms=10000):
        """Compiles {'abc': text, ...} and proves it; returns (ok, lines)."""
        src = os.path.join(self.work, 'src')
        out = os.path.join(self.work, 'out')
        for s in ('abc', 's1', 's2'):
            os.makedirs(os.path.join(src, s), exist_ok=True)
            for f in os.listdir(os.path.join(src, s)):
                os.remove(os.path.join(src, s, f))
        for s, text in sets.items():
            with open(os.path.join(src, s, 'p.sgf'), 'w', encoding='utf-8') as f:
                f.write(text)
        os.makedirs(out, exist_ok=True)
        r = subprocess.run([self.binary, 'compile', src, out], capture_output=True, text=True)
        if r.returncode != 0:
            return False, [r.stdout + r.stderr]
        r = subprocess.run([self.binary, 'prove', out, '--limit-ms', str(limit_ms)],
                           capture_output=True, text=True)
        return r.returncode == 0, r.stdout.splitlines()


# --- Completing the correct lines ------------------------------------------

def play(black, white, colour, p):
    """Plays a move with captures; returns the new (black, white)."""
    black, white = set(black), set(white)
    mine, theirs = (black, white) if colour == 'B' else (white, black)
    mine.add(p)
    board = {q: 'B' for q in black}
    board.update({q: 'W' for q in white})
    for q in neighbours(p):
        if q in theirs:
            stones, libs = chain(board, q)
            if not libs:
                theirs -= stones
                for s in stones:
                    board.pop(s, None)
    return black, white


def position_at(root, path):
    black, white = set(), set()
    for v in root.get('AB') or []:
        black.add((ord(v[0]) - 97, ord(v[1]) - 97))
    for v in root.get('AW') or []:
        white.add((ord(v[0]) - 97, ord(v[1]) - 97))
    for node in path:
        ident, values = node.props[0]
        v = values[0]
        black, white = play(black, white, ident, (ord(v[0]) - 97, ord(v[1]) - 97))
    return black, white


def count_nodes(root):
    return sum(1 for _ in walk(root)) - 1


def deepen(tool, root, limit_ms, max_nodes=900, max_grows=40):
    """Gives every Black node on a correct line below the start every move
    that keeps the best result and White's refutation of the plausible wrong
    ones, by growing the position at that node. False when a position there
    is out of reach or disagrees with the line's class."""
    aim = int(root.get('PP')[0])
    vs = int(root.get('VS')[0])
    best, _ = minimax(root)
    grows = 0
    frontier = [(k, [k]) for k in root.kids if minimax(k, False)[0] == best]
    done = set()
    while frontier:
        node, path = frontier.pop(0)
        # node: a Black move on a correct line; its White reply leads to a
        # Black node.
        for reply in node.kids:
            bpath = path + [reply]
            if not reply.kids or id(reply) in done:
                continue
            done.add(id(reply))
            if grows >= max_grows or count_nodes(root) > max_nodes:
                deepen.why = 'too big'
                return False
            black, white = position_at(root, bpath)
            grows += 1
            grown, why = tool.grow(root_sgf(black, white, aim, vs), limit_ms)
            if not grown:
                deepen.why = 'grow: ' + why
                return False
            sub = parse_sgf(grown)[0]
            prune_bare_wrong(sub)
            sub_best, _ = minimax(sub)
            if sub_best != best:
                deepen.why = f'class {sub_best} at {[n.props[0] for n in bpath]}'
                return False
            have = {k.props[0][1][0]: k for k in reply.kids}
            for k in sub.kids:
                move = k.props[0][1][0]
                if move in have:
                    continue
                k.parent = reply
                reply.kids.append(k)
            for k in reply.kids:
                if minimax(k, False)[0] == best:
                    frontier.append((k, bpath + [k]))
    return count_nodes(root) <= max_nodes


# --- Measured difficulty ---------------------------------------------------

def _line_below(node, black):
    """Length of the main line below a node and its moves: Black takes the
    shortest correct continuation, White the longest of its best replies."""
    if not node.kids:
        return 0, []
    value, _ = minimax(node, black)
    best, chosen = None, None
    for k in node.kids:
        if minimax(k, not black)[0] != value:
            continue
        n, below = _line_below(k, not black)
        n += 1
        if best is None or (n < best[0] if black else n > best[0]):
            best, chosen = (n, below), k
    if best is None:
        return 0, []
    return best[0], [chosen] + best[1]


def measure(root):
    """(main-line length, whether the first move is hard to see: it touches
    no stone, or it is captured later on the main line)."""
    length, line = _line_below(root, True)
    if not line:
        return 0, False
    black = {(ord(v[0]) - 97, ord(v[1]) - 97) for v in root.get('AB') or []}
    white = {(ord(v[0]) - 97, ord(v[1]) - 97) for v in root.get('AW') or []}
    v = line[0].props[0][1][0]
    first = (ord(v[0]) - 97, ord(v[1]) - 97)
    touches = any(q in black or q in white for q in neighbours(first))
    captured = False
    for i, node in enumerate(line):
        v = node.props[0][1][0]
        black, white = play(black, white, 'B' if i % 2 == 0 else 'W',
                            (ord(v[0]) - 97, ord(v[1]) - 97))
        if i > 0 and first not in black:
            captured = True
    return length, (not touches) or captured


def level_for(root, engine_misses=False):
    """The highest level the measured difficulty allows: 有段 needs a main
    line of seven moves or five with a hard first move (or one GNU Go
    misses: `engine_misses`), 上級 five."""
    length, hard = measure(root)
    if length >= 7 or (length >= 5 and (hard or engine_misses)):
        return 30
    if length >= 5:
        return 20
    return 10
