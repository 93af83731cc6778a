#include "about/Udebug.h"

#include "toolkit/FormFont.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sorvanti {

TFdebug* Fdebug = nullptr;

TFdebug::TFdebug(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Fdebug"));
    setWindowTitle(QStringLiteral("デバッグ用"));
    setFont(formFont());
    resize(496, 470);
    move(261, 223);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);

    SG = new QTableWidget(100, 7, Splitter1);
    SG->setObjectName(QStringLiteral("SG"));
    SG->horizontalHeader()->hide();
    SG->verticalHeader()->hide();
    SG->horizontalHeader()->setDefaultSectionSize(64);
    // The style's minimum row height is larger than the grid's 16 pixels.
    SG->verticalHeader()->setMinimumSectionSize(16);
    SG->verticalHeader()->setDefaultSectionSize(16);

    M = new QPlainTextEdit(Splitter1);
    M->setObjectName(QStringLiteral("M"));
    M->setFixedHeight(203);
    // Fixed only for the first layout; the splitter moves the border afterwards.
    M->setMinimumHeight(0);
    M->setMaximumHeight(QWIDGETSIZE_MAX);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({470 - 19 - 203 - 3, 203});
    column->addWidget(Splitter1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    column->addWidget(StatusBar1);
}

} // namespace sorvanti
