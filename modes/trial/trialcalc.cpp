#include "trialcalc.h"

#include "library/player.h"
#include "rules/outcome.h"

TrialLevel TrialLevelOf(int level) {
    switch (level) {
    case 30:
        return {QStringLiteral("有段レベル"), 200};
    case 20:
        return {QStringLiteral("上級レベル"), 150};
    case 10:
        return {QStringLiteral("初級レベル"), 100};
    default:
        return {QStringLiteral("レベル不明"), 100};
    }
}

int TrialPoints(int basePoints, int thinkTime, int seconds) {
    const int points = basePoints - (thinkTime - seconds) / 2;
    return points < 0 ? 0 : points;
}

QString CountdownSound(int seconds) {
    switch (seconds) {
    case 120:
        return QStringLiteral("min02.wav");
    case 60:
        return QStringLiteral("min01.wav");
    case 30:
        return QStringLiteral("sec30.wav");
    case 20:
        return QStringLiteral("sec20.wav");
    case 10:
        return QStringLiteral("sec10.wav");
    case 5:
        return QStringLiteral("sec05.wav");
    case 4:
        return QStringLiteral("sec04.wav");
    case 3:
        return QStringLiteral("sec03.wav");
    case 2:
        return QStringLiteral("sec02.wav");
    case 1:
        return QStringLiteral("sec01.wav");
    default:
        return QString();
    }
}

QString TimeText(int seconds) {
    return QStringLiteral("あと ") + ToWideDigits(QString::number(seconds)) + QStringLiteral(" 秒");
}

int TransferStep(int transfer) {
    if (transfer < 1) return 0;
    return transfer >= 10 ? 10 : 1;
}

bool TrialAnswerIsCorrect(int answerResult, int problemResult) {
    if (answerResult < 0 || problemResult < 0) return false;
    if (OutcomeRow(answerResult) < 0 || OutcomeRow(problemResult) < 0)
        return answerResult == problemResult;
    return IsCorrectAnswer(answerResult, problemResult);
}
