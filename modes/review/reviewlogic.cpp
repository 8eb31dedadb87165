#include "reviewlogic.h"

#include "library/player.h"

#include <cmath>

int CountReviewQuestions(const AnswerSheet& sheet) {
    int count = 0;
    for (const AnswerEntry& e : sheet) {
        if (e.ProbNo < 0) break;
        ++count;
    }
    return count;
}

QString ReviewQuestionCaption(int i) {
    // 第１問 … 第９問 in full-width digits; the tenth keeps ordinary digits (第10問).
    const QString number = QString::number(i + 1);
    return QStringLiteral("第") + (i < 9 ? ToWideDigits(number) : number) + QStringLiteral("問");
}

bool QuestionHighlighted(const AnswerEntry& entry) {
    return entry.Points <= 0;
}

QPoint QuestionPlace(QPoint first, int i) {
    return {first.x() + 120 * (i / 5), first.y() + 48 * (i % 5)};
}

int OpeningQuestion(int questionNo, int previousCount, int newCount) {
    int q = questionNo >= previousCount ? 0 : questionNo;
    // The sheet may have changed since the last opening.
    if (q < 0 || q >= newCount) q = 0;
    return q;
}

QString AnswerMark(const AnswerEntry& entry) {
    if (entry.AnswerX == -1) return QString();
    return entry.Points != 0 ? QStringLiteral("○") : QStringLiteral("×");
}

QPoint AnswerMarkPlace(int boardW, int boardH, int lines, int stoneSize, int answerX, int answerY) {
    const int n = lines > 0 ? lines : 19;
    const double cellX = double((boardW / n) * answerX);
    const double cellY = double((boardH / n) * answerY);
    // Nearest integer, ties to even (the default rounding mode).
    const int x = int(std::nearbyint(cellX + stoneSize / 8.0));
    const int y = int(std::nearbyint(cellY + stoneSize / 8.0 - 1));
    const int back = n == 19 ? 2 : 3;
    return {x - back, y - back};
}

double AnswerMarkPointSize(int stoneSize) {
    return stoneSize * 4.0 / 5.0;
}
