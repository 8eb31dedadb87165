// Opens the learn window on a problem of the 初級 course and plays Black's
// moves in it, each answered at once (the tests call the timer's handler).
#pragma once

#include "library/session.h"
#include "modes/learn/frmlearn.h"

#include <QPoint>
#include <initializer_list>
#include <memory>

inline std::unique_ptr<frmLearn> OpenLearn(int probNo, bool show = true) {
    gMode = 2;
    gCourse = 0;
    gProbNo = static_cast<int16_t>(probNo);
    auto w = std::make_unique<frmLearn>();
    if (show) w->show();
    return w;
}

inline void PlayLearn(frmLearn& w, std::initializer_list<QPoint> moves) {
    for (const QPoint& m : moves) {
        w.picBoard_MouseDown(m.x(), m.y(), 1);
        w.Timer1_Timer();
    }
}
