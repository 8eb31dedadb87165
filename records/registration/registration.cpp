#include "registration.h"

#include "library/files.h"

namespace {

const QString kNewPlayer = QStringLiteral("新規登録");

bool IsKeyCharacter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

QString NameAt(const Roster& roster, int i) {
    if (i >= 0 && i < roster.count && i < kMaxPlayers) return roster.names[size_t(i)];
    return kNewPlayer;
}

} // namespace

RegistView ViewFor(const Roster& roster, const RegistState& st) {
    RegistView v;
    const bool typing = st.state == RegistState::Typing || st.state == RegistState::Renaming;
    switch (st.state) {
    case RegistState::List:
        v.doing = QStringLiteral("名前表示欄をクリック後，処理を選んでください");
        v.exit = true;
        break;
    case RegistState::Chosen:
        v.doing = QStringLiteral("処理を選んでください");
        v.change = v.rename = v.del = v.cancel = v.exit = true;
        break;
    default:
        v.doing = QStringLiteral("名前を入力してください");
        v.cancel = true;
        v.regist = v.del = !st.entered.isEmpty();
        break;
    }
    if (typing) {
        const QString number = QString::number(roster.current + 1);
        v.rows[0] = {true, number, NameAt(roster, roster.current), false};
        v.rows[1] = {true, number, st.entered + QLatin1Char('_'), false};
    } else {
        for (int i = 0; i < kMaxPlayers; ++i) {
            RowView& r = v.rows[size_t(i)];
            r.visible = i <= roster.count;
            r.number = QString::number(i + 1);
            r.name = NameAt(roster, i);
            r.highlighted = i == roster.current;
        }
    }
    v.keysVisible = typing;
    return v;
}

QChar KeyCharacter(int i) {
    if (i >= 0 && i < 26) return QChar(u'A' + i);
    if (i >= 26 && i < kKeyCount) return QChar(u'0' + (i - 26));
    return {};
}

QPoint KeyOffsetTwips(int i) {
    if (i < 26) return {(i % 10) * kKeyPitchTwips, (i / 10) * kKeyPitchTwips};
    return {((i - 26) % 10) * kKeyPitchTwips, 3 * kKeyPitchTwips};
}

bool ClickRow(Roster& roster, RegistState& st, int i) {
    if (st.state != RegistState::List || i < 0 || i >= kMaxPlayers || i > roster.count)
        return false;
    st.saved = roster.current;
    roster.current = int16_t(i);
    if (i < roster.count) {
        st.state = RegistState::Chosen;
    } else {
        st.state = RegistState::Typing;
        st.entered.clear();
    }
    return true;
}

void ConfirmChoice(RegistState& st) {
    if (st.state == RegistState::Chosen) st.state = RegistState::List;
}

void StartRename(const Roster& roster, RegistState& st) {
    if (st.state != RegistState::Chosen) return;
    st.state = RegistState::Renaming;
    st.saved = roster.current;
    st.entered.clear();
}

bool TypeKey(RegistState& st, QChar c) {
    if (st.state != RegistState::Typing && st.state != RegistState::Renaming) return false;
    if (!IsKeyCharacter(c) || st.entered.size() >= kMaxNameLength) return false;
    st.entered += c;
    return true;
}

bool IsNameCharacter(QChar c) {
    if (c.isSurrogate() || !c.isPrint() || c == QLatin1Char('"')) return false;
    bool ok = false;
    const QByteArray bytes = EncodeSjis(QString(c), &ok);
    return ok && !bytes.isEmpty();
}

bool TypeText(RegistState& st, const QString& text) {
    if (st.state != RegistState::Typing && st.state != RegistState::Renaming) return false;
    if (text.isEmpty() || st.entered.size() + text.size() > kMaxNameLength) return false;
    for (const QChar c : text)
        if (!IsNameCharacter(c)) return false;
    st.entered += text;
    return true;
}

bool EraseKey(RegistState& st) {
    if (st.entered.isEmpty()) return false;
    st.entered.chop(1);
    return true;
}

void CancelAction(Roster& roster, RegistState& st) {
    if (st.state == RegistState::List) return;
    st.state = RegistState::List;
    roster.current = st.saved;
}

bool RegisterName(Roster& roster, RegistState& st, const std::function<bool(int)>& createFile) {
    if (st.state != RegistState::Typing && st.state != RegistState::Renaming) return false;
    if (st.entered.isEmpty() || roster.current < 0 || roster.current >= kMaxPlayers) return false;
    if (st.state == RegistState::Typing && roster.count < kMaxPlayers) {
        if (!createFile(roster.current)) return false;
        ++roster.count;
    }
    roster.names[size_t(roster.current)] = st.entered;
    st.state = RegistState::List;
    return true;
}

QString DeleteQuestion(const Roster& roster) {
    return QStringLiteral("登録番号%1のプレイヤー「%2」を削除しますか？")
        .arg(ToWideDigits(QString::number(roster.current + 1)), NameAt(roster, roster.current));
}

void DeleteChosen(Roster& roster, RegistState& st, const std::function<bool(int, int)>& copyFile) {
    if (st.state != RegistState::Chosen || roster.current < 0 || roster.current >= roster.count)
        return;
    for (int i = roster.current; i < kMaxPlayers; ++i) {
        if (i + 1 >= roster.count) {
            roster.names[size_t(i)].clear();
        } else {
            copyFile(i + 1, i); // a failed copy is skipped; the names still move
            roster.names[size_t(i)] = roster.names[size_t(i + 1)];
        }
    }
    --roster.count;
    if (roster.current >= roster.count) roster.current = int16_t(roster.count - 1);
    st.state = RegistState::List;
}

void RemoveFromRoster(Roster& roster, int index) {
    if (index < 0 || index >= roster.count) return;
    for (int i = index; i + 1 < roster.count; ++i)
        roster.names[size_t(i)] = roster.names[size_t(i + 1)];
    roster.names[size_t(roster.count - 1)].clear();
    --roster.count;
    if (roster.current > index) --roster.current;
    if (roster.current >= roster.count) roster.current = int16_t(roster.count - 1);
}

Roster CurrentRoster() {
    Roster r;
    r.count = gPlayerCount;
    r.names = gPlayerName;
    r.current = gCurPlayer;
    return r;
}

void StoreRoster(const Roster& roster) {
    gPlayerCount = roster.count;
    gPlayerName = roster.names;
    gCurPlayer = roster.current;
}
