// A decoded problem written back as SGF source (UTF-8), with the node numbers
// (NN) and computed results (KC) that let `compile` rebuild the same bytes.
#pragma once

#include "checker.h"

#include "library/problem.h"

#include <QByteArray>
#include <QString>

// `number` (from 1) only names the tree (GN); `comment` is written as CM for
// s1/s2 when it is not empty.
QByteArray DumpProblem(const Problem& p, DataSet set, int number, const QString& comment);
