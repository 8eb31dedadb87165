"""Tests of the offline problem tools in tools/content."""
import random
import unittest

import glob
import os

import classical
import classical_run
import dedup
import gnugo
import shapes
import vmcontent as vm


class SymmetryKey(unittest.TestCase):
    def test_images_and_colour_swap_share_a_key(self):
        black = {(0, 1), (1, 1), (2, 0)}
        white = {(0, 0), (1, 0)}
        key = vm.canonical_key(black, white)
        for img_b, img_w in zip(vm.symmetries(sorted(black)), vm.symmetries(sorted(white))):
            self.assertEqual(vm.canonical_key(set(img_b), set(img_w)), key)
        self.assertEqual(vm.canonical_key(white, black), key)

    def test_other_positions_differ(self):
        black = {(0, 1), (1, 1), (2, 0)}
        white = {(0, 0), (1, 0)}
        cases = [
            (black | {(3, 3)}, white),          # one stone more
            (black, white | {(2, 1)}),          # one White stone more
            ({(0, 2), (1, 2), (2, 1)}, {(0, 1), (1, 1)}),  # the same shape a line higher
        ]
        for b, w in cases:
            with self.subTest(b=sorted(b), w=sorted(w)):
                self.assertNotEqual(vm.canonical_key(b, w), vm.canonical_key(black, white))


class MoveRules(unittest.TestCase):
    def test_captures(self):
        # (black, white, colour, move, black after, white after)
        table = [
            ("one stone in the corner", {(1, 0)}, {(0, 0)}, 'B', (0, 1),
             {(1, 0), (0, 1)}, set()),
            ("two stones on the edge", {(0, 1), (1, 1), (2, 0)}, {(0, 0), (1, 0)}, 'B', (3, 3),
             {(0, 1), (1, 1), (2, 0), (3, 3)}, {(0, 0), (1, 0)}),
            ("White takes", {(0, 0)}, {(1, 0)}, 'W', (0, 1), set(), {(1, 0), (0, 1)}),
            ("a stone with a liberty stays", {(1, 0)}, {(0, 0)}, 'B', (2, 2),
             {(1, 0), (2, 2)}, {(0, 0)}),
        ]
        for name, b, w, colour, move, b_after, w_after in table:
            with self.subTest(name):
                nb, nw = vm.play(b, w, colour, move)
                self.assertEqual(nb, b_after)
                self.assertEqual(nw, w_after)

    def test_chain_without_liberty(self):
        self.assertFalse(vm.every_chain_has_liberty({(1, 0), (0, 1)}, {(0, 0)}))
        self.assertTrue(vm.every_chain_has_liberty({(1, 0)}, {(0, 0)}))


class SgfText(unittest.TestCase):
    TEXT = ("(;GM[1]VS[13]PP[2]AB[ba][ab]AW[aa]\n(;B[ca]\n;W[da]OC[5])\n"
            "(;B[cb]OC[55]RP[1]C[a \\] b]))\n")

    def test_round_trip(self):
        root = vm.parse_sgf(self.TEXT)[0]
        self.assertEqual(vm.write_sgf(root), self.TEXT)

    def test_minimax_and_lines(self):
        root = vm.parse_sgf(self.TEXT)[0]
        self.assertEqual(vm.minimax(root), (200, 5))
        self.assertEqual(vm.main_line(root), 2)
        self.assertEqual(vm.mark_lines(root), (1, 0))  # the bare wrong move goes

    def test_position_along_a_line(self):
        root = vm.parse_sgf("(;AB[ba]AW[aa][ca]\n;B[ab]\n;W[bb])")[0]
        path = [root.kids[0], root.kids[0].kids[0]]
        b, w = vm.position_at(root, path)
        self.assertEqual(b, {(1, 0), (0, 1)})
        self.assertEqual(w, {(2, 0), (1, 1)})  # B[ab] took aa


class Levels(unittest.TestCase):
    def test_measured_main_line_and_level(self):
        # (name, tree, main line, hard first move, level)
        table = [
            ("Black takes the shortest correct line",
             "(;PP[2]AB[ca]AW[aa]\n(;B[ab];W[bb];B[bc];W[cc];B[cd]OC[5])\n(;B[ba];W[bb];B[bc]OC[5]))",
             3, False, 10),
            ("White takes the longest of its best replies",
             "(;PP[2]AB[ca]AW[aa]\n(;B[ab]\n(;W[bb];B[bc]OC[5])\n(;W[cb];B[bc];W[dd];B[de]OC[5])))",
             5, False, 20),
            ("a first move that touches nothing",
             "(;PP[2]AB[ca]AW[aa]\n(;B[ee];W[bb];B[bc];W[cc];B[cd]OC[5])\n(;B[ab];W[bb]OC[55]))",
             5, True, 30),
            ("seven moves",
             "(;PP[2]AB[ca]AW[aa]\n(;B[ab];W[bb];B[bc];W[cc];B[cd];W[dd];B[de]OC[5]))",
             7, False, 30),
        ]
        for name, text, length, hard, level in table:
            with self.subTest(name):
                root = vm.parse_sgf(text)[0]
                self.assertEqual(vm.measure(root), (length, hard))
                self.assertEqual(vm.level_for(root), level)


class Builders(unittest.TestCase):
    def test_shapes_stay_in_the_corner_and_near_the_fight(self):
        rng = random.Random(5)
        built = 0
        for _ in range(300):
            shape = shapes.build(rng)
            if not shape:
                continue
            defender, wall = shape
            if not shapes.keep_stones_near(defender, wall):
                continue
            built += 1
            self.assertFalse(defender & wall)
            for p in defender | wall:
                self.assertLessEqual(max(p), shapes.MAX_COORD)
            # The defender is closed in: no empty point next to it can be
            # reached from the open board.
            stones = defender | wall
            open_points = set()
            stack = [(12, i) for i in range(13)] + [(i, 12) for i in range(13)]
            while stack:
                p = stack.pop()
                if p in open_points or p in stones:
                    continue
                open_points.add(p)
                stack.extend(vm.neighbours(p, 13))
            for p in defender:
                for q in vm.neighbours(p):
                    self.assertNotIn(q, open_points)
        self.assertGreater(built, 50)

    def test_races_have_both_colours_on_the_edge(self):
        rng = random.Random(7)
        for _ in range(100):
            made = shapes.build_race(rng, long=rng.random() < 0.5)
            if not made:
                continue
            self.assertEqual(made['aim'], 3)
            self.assertTrue(any(y == 1 for _, y in made['black']))
            self.assertTrue(any(y == 1 for _, y in made['white']))

    def test_ring_closes_the_position_two_lines_out(self):
        black = [(1, 1), (2, 1)]
        white = [(1, 2)]
        b, w = classical_run.ring(black, white, 2, 13)
        added = b - set(black)
        self.assertTrue(added)
        for p in added:
            d = min(max(abs(p[0] - x), abs(p[1] - y)) for x, y in black + white)
            self.assertEqual(d, 2)
        self.assertEqual(w, set(white))  # the attacker (Black) gets the ring

    def test_area_in_play_next_to_the_liberties(self):
        # White's corner group: four stones, seven liberties; the ring stands
        # on the points two steps out, so only the liberties stay empty.
        group = [(0, 1), (1, 1), (2, 1), (2, 0)]
        table = [
            # (name, black, white, defender, (empty, defender, attacker))
            ("liberties only", [], group, 'W', (7, 4, 0)),
            ("an attacker inside", [(1, 0)], group, 'W', (6, 4, 1)),
            ("stones beyond the ring leave", [(6, 6), (1, 4)], group, 'W', (7, 4, 0)),
            ("the other colour's target", [(1, 0)], group, 'B', (1, 1, 2)),
            # Between a group and the near edge is its own side: it stays in
            # play however far from the stones, up to the ring along it
            # (five liberties and the edge points above the group).
            ("own side kept", [], [(0, 5), (1, 5)], 'W', (9, 2, 0)),
        ]
        for name, black, white, defender, want in table:
            with self.subTest(name):
                area = classical.frame_area(black, white, defender)
                self.assertEqual((area['empty'], area['defender'], area['attacker']), want)
        # One line out the ring is two king steps away: the diagonal point
        # at the group's outer corner (3, 2) stays in play as well, and an
        # attacker two king steps out is part of the ring.
        one_out = [
            ("liberties and the corner's diagonal", [], group, 'W', (8, 4, 0)),
            ("an attacker on the ring", [(3, 3)], group, 'W', (8, 4, 0)),
            ("an attacker inside", [(3, 2)], group, 'W', (7, 4, 1)),
        ]
        for name, black, white, defender, want in one_out:
            with self.subTest(name):
                area = classical.frame_area(black, white, defender, lines=1)
                self.assertEqual((area['empty'], area['defender'], area['attacker']), want)
        self.assertIsNone(classical.frame_area([(1, 1)], [], 'W'))

    def test_guanzi_pu_numbered_by_place(self):
        def diagram(label, rows):
            return '\\goo\n' + '\n'.join(rows) + '\n}\n\\hfil problem %d\\hfil\\break\n' % label
        corner = ['\\- @<\\- !(\\0??>', '\\0??[\\- !+\\0??]']
        inland = ['\\0??[\\- @+\\- !]', '\\0??[\\0??+\\0??]']
        # The second label is misprinted, the third diagram is not at the
        # corner: numbers follow the place in the volume all the same.
        text = diagram(1, corner) + diagram(30, corner) + diagram(3, inland) + diagram(4, corner)
        got = list(classical.gzp_diagrams(text, 2))
        self.assertEqual([n for n, _, _ in got], ['2-1', '2-2', '2-4'])
        self.assertEqual(got[0][1:], ([(0, 0)], [(1, 0), (1, 1)]))



def _root(level, stones='AB[aa]AW[ba]'):
    return vm.parse_sgf(f'(;VS[13]DF[{level}]PP[2]{stones};B[ca]OC[5])')[0]


class NearDuplicates(unittest.TestCase):
    def test_one_kept_per_family_by_worth(self):
        problems = {
            ('abc', 1): ('abc/10-gen.sgf', 0, _root(10)),
            ('abc', 2): ('abc/30-gen.sgf', 0, _root(30)),
            ('abc', 3): ('abc/20-gen.sgf', 0, _root(20)),
            ('s2', 1): ('s2/s2-gen.sgf', 0, _root(10)),
            ('abc', 4): ('abc/10-01.sgf', 0, _root(10)),
            ('abc', 5): ('abc/10-02.sgf', 0, _root(10)),
            ('s1', 1): ('s1/s1-01.sgf', 0, _root(0)),
            ('abc', 6): ('abc/10-gen.sgf', 1, _root(10)),
        }
        table = [
            # (pairs, dropped)
            ("higher level kept", [(('abc', 1), ('abc', 2))], {('abc', 1)}),
            ("a chain keeps both ends", [(('abc', 1), ('abc', 3)), (('abc', 3), ('abc', 2))],
             {('abc', 3)}),
            ("first steps before generated", [(('abc', 2), ('s2', 1))], {('abc', 2)}),
            ("hand-written before generated", [(('s2', 1), ('abc', 4))], {('s2', 1)}),
            ("two hand-written are both kept", [(('abc', 4), ('abc', 5))], set()),
            ("classical never dropped", [(('abc', 6), ('s1', 1))], {('abc', 6)}),
        ]
        for name, pairs, dropped in table:
            with self.subTest(name):
                drop, report = dedup.choose(problems, pairs)
                self.assertEqual(drop, dropped)
                self.assertEqual(bool(report), name.startswith('two hand'))

    def test_reads_the_audit_lines(self):
        m = dedup.PAIR.match('abc.dt: problem 389: warning: start position 1 stone(s) away from '
                             'abc 3')
        self.assertEqual((m.group(1), m.group(2), m.group(3), m.group(4)), ('abc', '389', 'abc', '3'))
        m = dedup.PAIR.match('s2.dt: problem 1: the same start position as abc 1 (turned, '
                             'mirrored or with the colours swapped)')
        self.assertEqual((m.group(1), m.group(4)), ('s2', '1'))


class EngineCheck(unittest.TestCase):
    def test_key_is_the_data_tools_key(self):
        # velmora-data's PositionKey of the same position (tests/data).
        black = {(3, 0), (0, 1), (1, 1), (2, 1), (3, 1)}
        white = {(4, 0), (4, 1), (0, 2), (1, 2), (2, 2), (3, 2), (4, 2)}
        key = 'babbbbbcbbdabdbwacwbcwccwdcweawebwec'
        self.assertEqual(gnugo.position_key(black, white), key)
        for img_b, img_w in zip(vm.symmetries(sorted(black)), vm.symmetries(sorted(white))):
            self.assertEqual(gnugo.position_key(set(img_w), set(img_b)), key)
        self.assertNotEqual(gnugo.position_key(black | {(5, 5)}, white), key)

    def test_points(self):
        for p, text in (((0, 0), 'A19'), ((8, 0), 'J19'), ((18, 18), 'T1'), ((2, 3), 'C16')):
            self.assertEqual(gnugo.gtp_point(p), text)
            self.assertEqual(gnugo.sgf_point(text), p)
        self.assertIsNone(gnugo.sgf_point('PASS'))

    def test_candidates_stay_near_the_stones_and_in_the_view(self):
        points = gnugo.candidates({(0, 0)}, {(12, 12)}, 13)
        self.assertIn((2, 2), points)
        self.assertNotIn((3, 0), points)
        self.assertNotIn((0, 0), points)
        self.assertTrue(all(max(p) < 13 for p in points))
        self.assertEqual(len(points), 8 + 8)


class StrayStones(unittest.TestCase):
    def test_a_stone_away_from_the_fight(self):
        table = [
            # (setup, tree, strays)
            ('AB[aa][ca]AW[ba]', ';B[bb]OC[5]', []),
            ('AB[aa][ca][ii]AW[ba]', ';B[bb]OC[5]', [(8, 8)]),
            ('AB[aa][ca][ee]AW[ba]', ';B[bb]OC[5]', [(4, 4)]),
            ('AB[aa][ca][ee]AW[ba]', ';B[dc]OC[5]', []),  # the line passes near it
            ('AB[aa][ca][ee][ef]AW[ba]', ';B[bb]OC[5]', []),  # a wall of two
        ]
        for setup, tree, strays in table:
            with self.subTest(setup=setup, tree=tree):
                root = vm.parse_sgf(f'(;VS[13]DF[10]PP[2]{setup}{tree})')[0]
                self.assertEqual(vm.stray_stones(root), strays)


class TesujiPoints(unittest.TestCase):
    """The first steps the snapback and under-the-stones builders look for."""

    @staticmethod
    def rows(*lines):
        black, white = set(), set()
        for y, line in enumerate(lines):
            for x, c in enumerate(line.split()):
                (black if c == 'X' else white if c == 'O' else set()).add((x, y))
        return black, white

    def test_snapback_points(self):
        table = [
            # Two White chains share two empty points: Black's stone on the
            # edge is taken by White joining them in atari (the inner point
            # joins Black's wall).
            ('two-point space', ('O . O X', 'O . O X', 'X X X X'), [(1, 0)]),
            # White has a liberty outside: taking leaves two.
            ('liberty outside', ('O . O .', 'O . O X', 'X X X X'), []),
            # The throw-in takes at once: no snapback.
            ('capture', ('O X O X', 'X . X X', 'X X X X'), []),
        ]
        for name, lines, expected in table:
            with self.subTest(name):
                self.assertEqual(shapes.snapback_points(*self.rows(*lines)), expected)

    def test_under_the_stones_points(self):
        table = [
            # Black's second stone on the edge makes two stones in atari;
            # White takes them, and Black playing back on their ground puts
            # White's chain in atari again.
            ('two stones given', ('X . . X', 'O O O X', 'X X X X'), [(1, 0)]),
            # One stone only: a throw-in, not under the stones.
            ('one stone', ('. . . O X', 'O O O O X', 'X X X X X'), []),
        ]
        for name, lines, expected in table:
            with self.subTest(name):
                self.assertEqual(shapes.under_the_stones_points(*self.rows(*lines)), expected)

    def test_built_positions_show_their_first_step(self):
        # Snapback cores may carry a stone more or less, which the solver
        # judges; most of them show the throw-in on the board as built.
        for theme, test in shapes.TESTS.items():
            rng = random.Random(5)
            built = showing = 0
            for _ in range(60):
                made = shapes.build_tesuji(rng, theme)
                if not made:
                    continue
                built += 1
                showing += bool(test(made['black'], made['white']))
                with self.subTest(theme):
                    self.assertTrue(vm.every_chain_has_liberty(made['black'], made['white']))
                    self.assertFalse(made['black'] & made['white'])
                    self.assertLessEqual(max(max(p) for p in made['black'] | made['white']),
                                         shapes.MAX_COORD)
            with self.subTest(theme):
                self.assertGreater(built, 0)
                self.assertGreaterEqual(showing, built // 5 if theme == 'snapback' else built)


class ThemeFilter(unittest.TestCase):
    def test_named_themes(self):
        ko = vm.parse_sgf('(;VS[13]DF[10]PP[2]AB[aa]AW[ba](;B[ca]OC[30])(;B[da];W[ca]OC[55]))')[0]
        race = vm.parse_sgf('(;VS[13]DF[10]PP[3]AB[aa]AW[ba](;B[ca]OC[13])(;B[da];W[ca]OC[56]))')[0]
        table = [
            (ko, ['ko'], True),
            (ko, ['race', 'ko'], True),
            (ko, ['race'], False),
            (ko, [], False),
            (race, ['race'], True),
            (race, ['under-the-stones', 'connect-and-die'], False),
        ]
        for root, names, expected in table:
            with self.subTest(names=names):
                self.assertEqual(shapes.has_theme(root, names), expected)


PROBLEMS = os.path.join(os.path.dirname(__file__), '..', '..', 'data', 'problems')


class ShippedSources(unittest.TestCase):
    def test_file_names_carry_the_level(self):
        for path in glob.glob(os.path.join(PROBLEMS, 'abc', '*.sgf')):
            name = os.path.basename(path)
            for root in vm.parse_sgf(open(path, encoding='utf-8-sig').read()):
                with self.subTest(name):
                    self.assertEqual(name[:3], root.get('DF')[0] + '-')

    def test_every_stone_near_the_fight(self):
        for path in glob.glob(os.path.join(PROBLEMS, '*', '*.sgf')):
            for i, root in enumerate(vm.parse_sgf(open(path, encoding='utf-8-sig').read())):
                with self.subTest(f'{os.path.basename(path)} #{i + 1}'):
                    self.assertEqual(vm.stray_stones(root), [])


if __name__ == '__main__':
    unittest.main()
