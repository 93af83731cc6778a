#include "integration/TOKBDsettei.h"

#include <QCheckBox>
#include <QLabel>

namespace sorvanti {

TOKBDsettei::TOKBDsettei(QWidget* parent)
    : BevelDialog(QStringLiteral("OKBDsettei"), QStringLiteral("設定"), parent) {
    auto box = [this](const char* name, const QString& caption, const QString& note, int top) {
        auto* check = new QCheckBox(caption, this);
        check->setObjectName(QString::fromLatin1(name));
        check->move(20, top);
        check->adjustSize();
        auto* label = new QLabel(note, this);
        label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Note"));
        label->setGeometry(40, top + check->height(), kWidth - 64, 36);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return check;
    };
    CKnyuuryoku = box("CKnyuuryoku", QStringLiteral("入力中に変換"),
                      QStringLiteral("上の欄を書き換えるたびに、下の欄を変換し直します。"
                                     "そのあいだ下の欄は書き換えられません。"),
                      20);
    CKiro = box(
        "CKiro", QStringLiteral("置き換えた語に色を付ける"),
        QStringLiteral("変換で置き換えた語に色を付けます。マウスを置くと辞書の行を表示します。"),
        92);
    addButtons();
}

void TOKBDsettei::setOptions(const ProgramOptions& options) {
    CKnyuuryoku->setChecked(options.liveConversion != 0);
    CKiro->setChecked(options.highlight != 0);
}

ProgramOptions TOKBDsettei::options() const {
    return {CKnyuuryoku->isChecked() ? 1 : 0, CKiro->isChecked() ? 1 : 0};
}

} // namespace sorvanti
