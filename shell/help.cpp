#include "shell/help.h"

#include "shell/controls.h"
#include "shell/keyboard.h"
#include "shell/windowlook.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>

namespace {

constexpr int kWindowW = 600;
constexpr int kWindowH = 520;

} // namespace

QString HelpPageHtml() {
    // Lines are broken here for reading only: Japanese text must not gain
    // spaces where they were.
    QString html = QStringLiteral(R"(
<h2>Velmora２の使い方</h2>
<p>詰碁（死活の問題）を解いて読みの力を鍛えるソフトです。問題はすべて<b>黒先</b>です。
はじめにメニューの「プレイヤー登録」で名前を登録してください。成績と設定はプレイヤーごとに記録されます。</p>

<h3>メニュー</h3>
<p>項目をクリックすると右の「説明」に内容が出ます。<b>同じ項目をもう一度クリックするか Return キー</b>で始まります。</p>

<h3>トライアルモード</h3>
<p>コースを選ぶと十問が出題されます。制限時間内に黒の最初の一手を盤上でクリックしてください。
最善の結果になる手なら正解で、残り時間が得点になります。十問の合計はランキングに載り、そのあと復習画面で
一問ずつ学習・鑑賞し直せます。</p>

<h3>学習モード</h3>
<p>問題を選び、黒の手を打っていきます。ソフトが白の応手を返し、一段落するまで続きます。
最後に行き着いた結果を、その問題の最善の結果と比べて「正解です。」「準正解です」「失敗です。」と判定します。
「次の候補」で正解の候補が盤上に示されます。</p>

<h3>鑑賞モード</h3>
<p>代表的な正解手順と変化手順を一手ずつ、または自動で再生します。「検討」では白黒交互に石を置いて
局面を調べられ、取った石も数えます。</p>

<h3>答えの判定</h3>
<p>どの手順の終わりにも結果（下の表）が付いています。黒は最も良い結果を、白は黒にとって最も悪い結果を
選ぶものとして、手順の木を終わりからさかのぼり、各局面の最善の結果を決めます。
打った手が問題全体の最善と同じ値の結果に届けば正解、同じ結果の種類でも少し損なら準正解、それより悪ければ失敗です。</p>

<h3>結果の名前</h3>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>名前</th><th>意味</th></tr>
<tr><td>白死</td><td>白の石が取られる（黒の成功）。「曲り４目」「両コウ」はその形で死ぬこと。</td></tr>
<tr><td>黒生き</td><td>黒の石が生きる（黒の成功）。</td></tr>
<tr><td>セキ(黒生き)／セキ(白生き)</td><td>双方とも取れない形で、その側の石が生きる。</td></tr>
<tr><td>長生</td><td>同じ形が繰り返される珍しい形。問題によって黒成功にも黒失敗にもなる。</td></tr>
<tr><td>本コウ(黒取り番)／本コウ(白取り番)</td><td>一手で決まるコウ。先にコウを取れる側が書いてある。</td></tr>
<tr><td>１手ヨセコウ・２手ヨセコウ</td><td>コウに勝つまでに、負けている側があと１手（２手）を要するコウ。有利な側が書いてある。</td></tr>
<tr><td>２段コウ</td><td>二度取らなければ決まらないコウ。</td></tr>
<tr><td>万年コウ</td><td>どちらも先に解消したくないコウ。</td></tr>
<tr><td>黒成功・黒勝ち</td><td>攻め合いや手順の目的を黒が果たした。</td></tr>
<tr><td>白生き・黒死・黒失敗・黒負け・黒損</td><td>黒の失敗。</td></tr>
</table>
<p>良い順におおよそ、黒成功・黒勝ち ＞ 白死・黒生き ＞ 万年コウ ＞ ヨセコウ(黒有利) ＞ 本コウ(黒取り番) ＞
本コウ(白取り番) ＞ コウ(白有利) ＞ 白生き・黒死 です。</p>

<h3>キー操作</h3>
<table border="1" cellpadding="3" cellspacing="0">
<tr><td>Return</td><td>選んでいるボタンを押す（メニューでは選んだモードを始める）</td></tr>
<tr><td>Esc</td><td>その画面の「終了」「キャンセル」「中止」</td></tr>
<tr><td>Tab</td><td>次のボタンへ移る</td></tr>
<tr><td>矢印キー・Space</td><td>盤上でカーソルを動かし、その点に打つ</td></tr>
<tr><td>← → Home End</td><td>学習・鑑賞で一手戻る・一手進む・最初へ・最後へ</td></tr>
<tr><td>PageUp PageDown</td><td>問題選択でページを送る</td></tr>
<tr><td>文字キー・かな漢字変換</td><td>プレイヤー登録で名前を入力（Backspace で一文字消す）</td></tr>
<tr><td>F1</td><td>この使い方を開く</td></tr>
</table>

<h3>記録</h3>
<p>プレイヤー、成績、ランキングは、プログラムのフォルダに書き込めるときはそこに、
そうでないとき（インストールした場合）は各ユーザーの ~/.local/share/velmora/ に保存されます。</p>
)");
    html.remove(QLatin1Char('\n'));
    return html;
}

frmHelp::frmHelp(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("使い方"));
    setAccessibleName(windowTitle());
    setFixedSize(kWindowW, kWindowH);

    txtHelp = new QTextBrowser(this);
    NameControl(txtHelp, QStringLiteral("txtHelp"), QStringLiteral("使い方の説明"));
    txtHelp->setGeometry(8, 8, kWindowW - 16, kWindowH - 56);
    txtHelp->setOpenLinks(false);
    txtHelp->setHtml(HelpPageHtml());

    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    NameControl(cmdClose, QStringLiteral("cmdClose"), cmdClose->text());
    cmdClose->setGeometry(kWindowW - 108, kWindowH - 40, 100, 30);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    SetKeyboardButtons(this, cmdClose);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    txtHelp->setFocus();
}
