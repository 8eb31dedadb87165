#include "shell/saveplayer.h"

#include "library/player.h"
#include "platform/platform.h"

#include <QString>

bool SaveCurrentPlayerAsking(QWidget* parent) {
    for (;;) {
        QString error;
        if (SavePlayerFile(gCurPlayer, &error)) return true;
        const QString question =
            QStringLiteral("成績を保存できませんでした。\n") + error +
            QStringLiteral("\n\nディスクの空きを作ってから「はい」を押すと、もう一度保存します。"
                           "\n「いいえ」を押すと、この成績を保存しないで続けます。");
        if (!CurrentPlatform().askYesNo(question, parent)) return false;
    }
}
