// The solver's subcommands of velmora-data. argv holds the arguments after
// the subcommand word; the return value is the exit status.
#pragma once

// velmora-data prove DATA_DIR [SET [N]] [--limit-ms MS]
int RunProve(int argc, char** argv);
// velmora-data order DATA_DIR [SET [N]] [--limit-ms MS] [--every K]: where
// the class the proof of a tree gives a position differs from a fresh
// solver's (1 when some does).
int RunOrder(int argc, char** argv);
// velmora-data grow SRC.sgf [-o OUT.sgf] [--limit-ms MS]
int RunGrow(int argc, char** argv);
// velmora-data solve SGF [-o OUT.sgf] [--limit-ms MS] [--aim live|kill|race]
// 0 every position solved, 2 some position reached the limit, 1 otherwise.
int RunSolve(int argc, char** argv);
