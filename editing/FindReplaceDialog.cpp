#include "editing/FindReplaceDialog.h"

#include "toolkit/FormFont.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorvanti {

FindReplaceDialog::FindReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindReplaceDialog"));
    setFont(formFont());
    setModal(false);

    auto field = [this](QLabel*& label, QLineEdit*& edit, const char* name, const QString& text) {
        edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(220);
        label = new QLabel(text, this);
        label->setBuddy(edit);
    };
    field(Lfind, Efind, "Efind", QStringLiteral("検索する文字列(&N):"));
    field(Lreplace, Ereplace, "Ereplace", QStringLiteral("置換後の文字列(&P):"));
    CBcase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    CBcase->setObjectName(QStringLiteral("CBcase"));

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    Bnext = button("Bnext", QStringLiteral("次を検索(&F)"));
    Bprevious = button("Bprevious", QStringLiteral("前を検索(&B)"));
    Breplace = button("Breplace", QStringLiteral("置換(&R)"));
    BreplaceAll = button("BreplaceAll", QStringLiteral("すべて置換(&A)"));
    Bclose = button("Bclose", QStringLiteral("閉じる"));
    // Enter in either field finds the next match.
    Bnext->setDefault(true);
    connect(Bclose, &QPushButton::clicked, this, &QDialog::reject);
    connect(Efind, &QLineEdit::textChanged, this, &FindReplaceDialog::updateButtons);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Lfind, 0, 0);
    grid->addWidget(Efind, 0, 1);
    grid->addWidget(Lreplace, 1, 0);
    grid->addWidget(Ereplace, 1, 1);
    grid->addWidget(CBcase, 2, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    grid->setRowStretch(3, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {Bnext, Bprevious, Breplace, BreplaceAll})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(Bclose);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setReplacing(false);
}

void FindReplaceDialog::setReplacing(bool replacing) {
    setWindowTitle(replacing ? QStringLiteral("置換") : QStringLiteral("検索"));
    for (QWidget* w : {static_cast<QWidget*>(Lreplace), static_cast<QWidget*>(Ereplace),
                       static_cast<QWidget*>(Breplace), static_cast<QWidget*>(BreplaceAll)})
        w->setVisible(replacing);
    updateButtons();
}

void FindReplaceDialog::setEditable(bool editable) {
    editable_ = editable;
    updateButtons();
}

void FindReplaceDialog::updateButtons() {
    const bool query = !Efind->text().isEmpty();
    Bnext->setEnabled(query);
    Bprevious->setEnabled(query);
    Breplace->setEnabled(query && editable_);
    BreplaceAll->setEnabled(query && editable_);
}

} // namespace sorvanti
