#include "platform/locale.h"

#include <QByteArray>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>

namespace {

bool Utf8CharacterType() {
    const QByteArray codeset(nl_langinfo(CODESET));
    return codeset.compare("UTF-8", Qt::CaseInsensitive) == 0 ||
           codeset.compare("UTF8", Qt::CaseInsensitive) == 0;
}

} // namespace

bool EnsureUtf8Locale() {
    // The locale the environment names, as the application takes it; a
    // locale the machine lacks counts as none.
    std::setlocale(LC_ALL, "");
    if (!std::setlocale(LC_CTYPE, "")) std::setlocale(LC_CTYPE, "C");
    if (Utf8CharacterType()) return false;
    // LC_ALL overrides every other variable; otherwise LC_CTYPE alone will do
    // and messages, numbers and dates stay as the user set them.
    const char* all = std::getenv("LC_ALL");
    const char* variable = all && *all ? "LC_ALL" : "LC_CTYPE";
    const char* old = std::getenv(variable);
    const QByteArray before = old ? QByteArray(old) : QByteArray();
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
        setenv(variable, name, 1);
        if (std::setlocale(LC_CTYPE, "") && Utf8CharacterType()) {
            std::setlocale(LC_ALL, ""); // changes nothing when another category is missing
            return true;
        }
    }
    // No UTF-8 locale on this machine: leave the environment as it was.
    if (old)
        setenv(variable, before.constData(), 1);
    else
        unsetenv(variable);
    if (!std::setlocale(LC_CTYPE, "")) std::setlocale(LC_CTYPE, "C");
    return false;
}
