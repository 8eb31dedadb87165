#include "library/draw.h"

#include "library/courses.h"

#include <algorithm>
#include <cmath>

namespace {

// A number written with at most 15 significant digits, never in exponent
// form, without trailing zeros and without a zero before the point.
QString DecimalText(double v) {
    if (v == 0.0) return QStringLiteral("0");
    const int before = static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
    const int decimals = std::clamp(15 - before, 0, 30);
    QString s = QString::number(v, 'f', decimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    if (s.startsWith(QLatin1String("0."))) s.remove(0, 1);
    return s;
}

} // namespace

QString FormatRatio(int correct, int answered) {
    if (answered == 0) return QStringLiteral("-----");
    const double v = static_cast<double>(correct) / static_cast<double>(answered) * 100.0;
    // Only a damaged player file gives more correct than answered problems;
    // the column has room for three digits before the point.
    if (v >= 1000.0) return QStringLiteral("999.9");
    if (v < 0.0) return QStringLiteral("  0.0");
    const QString text = DecimalText(v);
    const int point = text.indexOf(QLatin1Char('.'));
    if (point < 0) return text.rightJustified(3, QLatin1Char(' ')) + QStringLiteral(".0");
    return text.left(point).rightJustified(3, QLatin1Char(' ')) + QLatin1Char('.') +
           text.at(point + 1);
}

int DrawScope::usableCount() const {
    if (record == nullptr || base < 0 || base >= kMaxProblemsTotal) return 0;
    return std::clamp(probCount, 0, kMaxProblemsTotal - base);
}

DrawScope DrawScopeFor(int course, int questionNo) {
    DrawScope s;
    if (course >= 0 && course < kCourseCount) {
        const CourseInfo& c = gCourses[static_cast<size_t>(course)];
        s.levelFilter = c.LevelFilter;
        s.probCount = c.ProbCount;
        s.base = CourseBase(course);
    }
    s.record = &gPlayerRecord;
    s.sheet = &gAnswerSheet;
    s.questionNo = questionNo;
    return s;
}

DrawScope CurrentDrawScope() {
    return DrawScopeFor(gCourse, gQuestionNo);
}

bool IsEligible(const DrawScope& s, int mode, int p) {
    if (p < 0 || p >= s.usableCount()) return false;
    const ProbStat& st = s.stat(p);
    if (s.levelFilter != 0 && st.Level != s.levelFilter) return false;
    if (s.sheet != nullptr) {
        const int asked = std::clamp(s.questionNo, 0, kTrialQuestions);
        for (int i = 0; i < asked; ++i)
            if ((*s.sheet)[static_cast<size_t>(i)].ProbNo == p) return false;
    }
    switch (mode) {
    case MakeQUnasked:
        return st.Asked == 0;
    case MakeQWrongFirst:
        return st.Asked != 0 && st.Correct == 0;
    case MakeQMixed:
        return st.Asked == 0 || st.Correct == 0;
    case MakeQAll:
        return true;
    default:
        return false;
    }
}

int CountEligible(const DrawScope& s, int mode) {
    int count = 0;
    const int n = s.usableCount();
    for (int p = 0; p < n; ++p)
        if (IsEligible(s, mode, p)) ++count;
    return count;
}

DrawPreparation PrepareDraw(const DrawScope& s, int setting) {
    DrawPreparation d;
    d.mode = setting;
    d.count = CountEligible(s, setting);
    if (d.count >= 1) return d;

    d.mode = MakeQUnasked;
    if (setting == MakeQWrongFirst) {
        d.count = CountEligible(s, MakeQUnasked);
        if (d.count >= 1) return d;
    }

    // Everything of this level has been worked through: start the course
    // afresh, except for the problems already asked in this trial.
    const int n = s.usableCount();
    for (int p = 0; p < n; ++p) {
        if (IsEligible(s, MakeQAll, p)) {
            s.stat(p).Asked = 0;
            s.stat(p).Correct = 0;
        }
    }
    d.count = CountEligible(s, MakeQUnasked);
    return d;
}

int PickIndex(double r, int count) {
    if (count <= 0) return -1;
    const double v = r * count;
    const double f = std::floor(v);
    const double frac = v - f;
    double k = f;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(f, 2.0) != 0.0)) k = f + 1.0;
    int ki = static_cast<int>(std::clamp(k, 0.0, static_cast<double>(count)));
    if (ki >= count) ki = count - 1;
    return ki;
}

int NthEligible(const DrawScope& s, int mode, int k) {
    if (k < 0) return -1;
    const int n = s.usableCount();
    int seen = 0;
    for (int p = 0; p < n; ++p) {
        if (!IsEligible(s, mode, p)) continue;
        if (seen == k) return p;
        ++seen;
    }
    return -1;
}

int DrawQuestion(const DrawScope& s, int setting, double r) {
    if (s.questionNo < 0 || s.questionNo >= kTrialQuestions) return -1;
    const DrawPreparation d = PrepareDraw(s, setting);
    if (d.count < 1) return -1;
    const int p = NthEligible(s, d.mode, PickIndex(r, d.count));
    if (p < 0) return -1;
    s.stat(p).Asked = 1;
    if (s.sheet != nullptr)
        (*s.sheet)[static_cast<size_t>(s.questionNo)].ProbNo = static_cast<int16_t>(p);
    return p;
}
