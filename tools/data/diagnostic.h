// One message of the data tool: where, which problem, what is wrong.
#pragma once

#include <QString>
#include <vector>

struct Diagnostic {
    bool warning = false;
    QString where;   // "abc/001.sgf:12:5" or "abc.dt"
    int problem = 0; // number within its set, from 1; 0 when none
    QString message;

    // "where: problem N: message", with "warning: " before the message of a
    // warning.
    QString ToString() const {
        QString s = where;
        if (problem > 0) s += QStringLiteral(": problem %1").arg(problem);
        s += QStringLiteral(": ");
        if (warning) s += QStringLiteral("warning: ");
        return s + message;
    }
};

inline bool HasErrors(const std::vector<Diagnostic>& list, bool strict = false) {
    for (const Diagnostic& d : list)
        if (!d.warning || strict) return true;
    return false;
}
