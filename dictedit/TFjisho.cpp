// The dictionary editor's components and its edit commands.
#include "dictedit/TFjisho.h"

#include "dictedit/DictionaryModel.h"
#include "dictedit/DictionaryView.h"
#include "dictedit/RowFilter.h"
#include "dictedit/TrialConversion.h"
#include "toolkit/FormFont.h"
#include "toolkit/Guard.h"
#include "toolkit/MenuItem.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace sorvanti {

namespace {

const QString kCaption = QStringLiteral("辞書の編集");

} // namespace

TFjisho::TFjisho(const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), dataFolder_(dataFolder) {
    setObjectName(QStringLiteral("Fjisho"));
    setFont(formFont());
    resize(680, 520);
    setMinimumSize(420, 320);
    model_ = new DictionaryModel(this);
    filter_ = new RowFilter(*model_, this);
    createComponents();
    createMenus();
    connectHandlers();
    updateTitle();
    updateStatus();
    updateActions();
}

TFjisho::~TFjisho() {
    // The parts of the window go after its members: none of their last signals (the undo stack
    // cleared, the selection emptied) may reach it then.
    QObject::disconnect(&model_->undoStack(), nullptr, this, nullptr);
    for (QObject* part : findChildren<QObject*>())
        QObject::disconnect(part, nullptr, this, nullptr);
}

void TFjisho::createComponents() {
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(6, 6, 6, 6);
    setCentralWidget(client);

    auto* bar = new QHBoxLayout;
    Ekensaku = new QLineEdit(client);
    Ekensaku->setObjectName(QStringLiteral("Ekensaku"));
    Ekensaku->setPlaceholderText(QStringLiteral("標準語か変換語に含む文字"));
    Ekensaku->setClearButtonEnabled(true);
    auto* label = new QLabel(QStringLiteral("検索(&S)"), client);
    label->setBuddy(Ekensaku);
    CKmondai = new QCheckBox(QStringLiteral("問題のある行だけ表示"), client);
    CKmondai->setObjectName(QStringLiteral("CKmondai"));
    bar->addWidget(label);
    bar->addWidget(Ekensaku, 1);
    bar->addSpacing(12);
    bar->addWidget(CKmondai);
    CKtango = new QCheckBox(QStringLiteral("単語単位で一致させる"), client);
    CKtango->setObjectName(QStringLiteral("CKtango"));
    CKtango->setToolTip(QStringLiteral("辞書の先頭に「#@単語単位」の行を書き、"
                                       "単語の切れ目から切れ目までだけ一致させます"));
    bar->addSpacing(12);
    bar->addWidget(CKtango);
    column->addLayout(bar);

    SGjisho = new DictionaryView(client);
    SGjisho->setObjectName(QStringLiteral("SGjisho"));
    SGjisho->setModel(filter_);
    SGjisho->setItemDelegate(new FieldDelegate(
        [this](const QModelIndex& index, const QString& text) {
            const QModelIndex source = filter_->mapToSource(index);
            return model_->refusal(source.row(), source.column(), text);
        },
        SGjisho));
    const int widths[] = {40, 130, 130, 90};
    for (int c = 0; c < int(std::size(widths)); ++c)
        SGjisho->setColumnWidth(c, widths[c]);
    column->addWidget(SGjisho, 1);

    GBtamesu = new TrialConversion(*model_, client);
    column->addWidget(GBtamesu);

    Ljoutai = new QLabel(this);
    Ljoutai->setObjectName(QStringLiteral("Ljoutai"));
    statusBar()->addPermanentWidget(Ljoutai);
}

void TFjisho::createMenus() {
    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QStringLiteral("ファイル(&F)"));
    Hozon1 = addItem(File1, "Hozon1", QStringLiteral("保存(&S)"), QKeySequence::Save);
    Shinki1 = addItem(File1, "Shinki1", QStringLiteral("新しい辞書(&N)..."));
    File1->addSeparator();
    Tojiru1 =
        addItem(File1, "Tojiru1", QStringLiteral("閉じる(&C)"), QKeySequence(Qt::CTRL | Qt::Key_W));

    Edit1 = bar->addMenu(QStringLiteral("編集(&E)"));
    Undo1 =
        addItem(Edit1, "Undo1", QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = addItem(Edit1, "Redo1", QStringLiteral("やり直し(&R)"));
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    Edit1->addSeparator();
    Sounyuu1 =
        addItem(Edit1, "Sounyuu1", QStringLiteral("行を挿入(&I)"), QKeySequence(Qt::Key_Insert));
    Sakujo1 =
        addItem(Edit1, "Sakujo1", QStringLiteral("行を削除(&D)"), QKeySequence(Qt::Key_Delete));
    Edit1->addSeparator();
    Ue1 = addItem(Edit1, "Ue1", QStringLiteral("上へ移動(&P)"), QKeySequence(Qt::ALT | Qt::Key_Up));
    Shita1 = addItem(Edit1, "Shita1", QStringLiteral("下へ移動(&W)"),
                     QKeySequence(Qt::ALT | Qt::Key_Down));
    Saki1 = addItem(Edit1, "Saki1", QStringLiteral("この対を先に移す(&M)"),
                    QKeySequence(Qt::CTRL | Qt::Key_M));
    Genin1 = addItem(Edit1, "Genin1", QStringLiteral("問題の原因の行を選択(&G)"),
                     QKeySequence(Qt::CTRL | Qt::Key_G));
    Edit1->addSeparator();
    Kensaku1 = addItem(Edit1, "Kensaku1", QStringLiteral("検索(&F)"), QKeySequence::Find);
    Edit1->addSeparator();
    Tango1 = addItem(Edit1, "Tango1", QStringLiteral("単語単位で一致させる(&T)"),
                     QKeySequence(Qt::CTRL | Qt::Key_T));
    Tango1->setCheckable(true);

    View1 = bar->addMenu(QStringLiteral("表示(&V)"));
    Mondai1 = addItem(View1, "Mondai1", QStringLiteral("問題のある行だけ表示(&O)"));
    Mondai1->setCheckable(true);

    // The row commands act on the table: in the search field, Delete and the arrows are
    // the field's own.
    for (QAction* a : {Sounyuu1, Sakujo1, Ue1, Shita1, Saki1, Genin1}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        SGjisho->addAction(a);
    }
}

void TFjisho::connectHandlers() {
    using Handler = void (TFjisho::*)();
    const std::pair<QAction*, Handler> items[] = {
        {Hozon1, &TFjisho::Hozon1Click},     {Shinki1, &TFjisho::Shinki1Click},
        {Sounyuu1, &TFjisho::Sounyuu1Click}, {Sakujo1, &TFjisho::Sakujo1Click},
        {Ue1, &TFjisho::Ue1Click},           {Shita1, &TFjisho::Shita1Click},
        {Saki1, &TFjisho::Saki1Click},       {Genin1, &TFjisho::Genin1Click},
    };
    for (const auto& [action, handler] : items)
        connect(action, &QAction::triggered, this, [this, handler = handler] {
            guarded(this, [&] {
                SGjisho->commitEditing();
                (this->*handler)();
            });
        });
    connect(Tojiru1, &QAction::triggered, this, &QWidget::close);
    connect(CKtango, &QCheckBox::clicked, this, &TFjisho::CKtangoClick);
    connect(Tango1, &QAction::triggered, this, &TFjisho::CKtangoClick);
    QUndoStack& stack = model_->undoStack();
    for (const auto& [action, step] :
         {std::pair{Undo1, &QUndoStack::undo}, std::pair{Redo1, &QUndoStack::redo}}) {
        connect(action, &QAction::triggered, this, [this, &stack, step = step] {
            SGjisho->commitEditing();
            (stack.*step)();
        });
    }
    connect(&stack, &QUndoStack::cleanChanged, this, &TFjisho::updateTitle);
    connect(&stack, &QUndoStack::cleanChanged, this, &TFjisho::changed);
    connect(model_, &DictionaryModel::analysed, this, &TFjisho::changed);
    connect(&stack, &QUndoStack::indexChanged, this, &TFjisho::updateActions);
    connect(Kensaku1, &QAction::triggered, this, [this] {
        Ekensaku->setFocus();
        Ekensaku->selectAll();
    });
    connect(Ekensaku, &QLineEdit::textChanged, filter_, &RowFilter::setSearch);
    connect(CKmondai, &QCheckBox::toggled, Mondai1, &QAction::setChecked);
    connect(Mondai1, &QAction::toggled, CKmondai, &QCheckBox::setChecked);
    connect(CKmondai, &QCheckBox::toggled, filter_, &RowFilter::setProblemsOnly);

    connect(model_, &DictionaryModel::analysed, this, [this] {
        if (!model_->previewing())
            filter_->refresh();
        GBtamesu->refresh();
        updateStatus();
        updateActions();
        updateWordMode();
    });
    connect(model_, &DictionaryModel::touched, this, &TFjisho::selectRows);
    connect(model_, &DictionaryModel::refused, this,
            [this](const QString& message) { ShowMessage(this, message); });
    auto* delegate = static_cast<FieldDelegate*>(SGjisho->itemDelegate());
    connect(delegate, &FieldDelegate::typing, this,
            [this](const QModelIndex& index, const QString& text) {
                const QModelIndex source = filter_->mapToSource(index);
                model_->preview(source.row(), source.column(), text);
            });
    connect(delegate, &FieldDelegate::typingEnded, model_, &DictionaryModel::endPreview);
    connect(delegate, &FieldDelegate::refused, this,
            [this](const QString& message) { statusBar()->showMessage(message, 5000); });
    connect(SGjisho, &QAbstractItemView::activated, this, &TFjisho::SGjishoActivated);
    connect(SGjisho->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFjisho::updateActions);
    connect(SGjisho->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFjisho::updateActions);
    connect(SGjisho, &DictionaryView::rowsDropped, this, [this](int before) {
        const int source = before < filter_->rowCount()
                               ? filter_->mapToSource(filter_->index(before, 0)).row()
                               : model_->rowCount();
        model_->moveRowsTo(selectedRows(), source);
    });
    connect(GBtamesu, &TrialConversion::lineChosen, this, [this](int row) { selectRows({row}); });
}

// ---- state shown -------------------------------------------------------------------------

void TFjisho::updateTitle() {
    setWindowTitle(name_.isEmpty() ? kCaption : name_ + QStringLiteral("[*] - ") + kCaption);
    setWindowModified(modified());
    updateActions();
}

void TFjisho::updateStatus() {
    const DictionaryDocument& document = model_->document();
    int problems = 0;
    for (int row = 0; row < model_->rowCount(); ++row)
        problems += model_->hasProblem(row) ? 1 : 0;
    QString format = document.encoding() == textencoding::Encoding::Utf8
                         ? QString::fromLatin1(document.bom() ? "UTF-8 (BOM)" : "UTF-8")
                         : QStringLiteral("CP932");
    format += document.lineEnd() == "\n" ? QStringLiteral(" LF") : QStringLiteral(" CR LF");
    Ljoutai->setText(QStringLiteral("%1 行、%2 組、問題のある行 %3　%4")
                         .arg(model_->rowCount())
                         .arg(model_->report().table->count())
                         .arg(problems)
                         .arg(format));
}

void TFjisho::updateActions() {
    const bool open = !name_.isEmpty();
    const std::vector<int> rows = selectedRows();
    const int row = currentRow();
    Hozon1->setEnabled(open && modified());
    Undo1->setEnabled(model_->undoStack().canUndo());
    Redo1->setEnabled(model_->undoStack().canRedo());
    Sounyuu1->setEnabled(open);
    Sakujo1->setEnabled(!rows.empty());
    Ue1->setEnabled(!rows.empty() && rows.front() > 0);
    Shita1->setEnabled(!rows.empty() && rows.back() < model_->rowCount() - 1);
    Saki1->setEnabled(row >= 0 && model_->hidingRow(row) >= 0);
    Genin1->setEnabled(row >= 0 && model_->causeRow(row) >= 0);
    Tango1->setEnabled(open);
    CKtango->setEnabled(open);
}

void TFjisho::updateWordMode() {
    CKtango->setChecked(model_->wordMode());
    Tango1->setChecked(model_->wordMode());
}

// ---- rows -------------------------------------------------------------------------------------

std::vector<int> TFjisho::selectedRows() const {
    std::vector<int> rows;
    for (const int row : SGjisho->selectedRows())
        rows.push_back(filter_->mapToSource(filter_->index(row, 0)).row());
    return rows; // ascending: the view's rows are, and the filter keeps the file's order
}

int TFjisho::currentRow() const {
    const QModelIndex current = SGjisho->currentIndex();
    return current.isValid() ? filter_->mapToSource(current).row() : -1;
}

void TFjisho::selectRows(const std::vector<int>& rows) {
    QItemSelection selection;
    QModelIndex first;
    for (const int row : rows) {
        const int shown = std::min(row, model_->rowCount() - 1);
        QModelIndex index = filter_->mapFromSource(model_->index(shown, 0));
        if (!index.isValid() && shown >= 0) {
            // A row the filter hides is shown by showing all rows.
            Ekensaku->clear();
            CKmondai->setChecked(false);
            index = filter_->mapFromSource(model_->index(shown, 0));
        }
        if (!index.isValid())
            continue;
        selection.select(index, index.siblingAtColumn(DictionaryModel::kColumns - 1));
        if (!first.isValid())
            first = index;
    }
    if (!first.isValid())
        return;
    QItemSelectionModel* selected = SGjisho->selectionModel();
    const int column = std::max(SGjisho->currentIndex().column(), 0);
    selected->setCurrentIndex(first.siblingAtColumn(column), QItemSelectionModel::NoUpdate);
    selected->select(selection, QItemSelectionModel::ClearAndSelect);
    SGjisho->scrollTo(first);
}

void TFjisho::Sounyuu1Click() {
    const int row = currentRow();
    const int at = row >= 0 ? row + 1 : model_->rowCount();
    model_->insertEmptyRow(at);
    // Typing starts in its standard word; Tab goes on to the converted word.
    const QModelIndex cell =
        filter_->mapFromSource(model_->index(at, DictionaryModel::StandardColumn));
    SGjisho->setFocus();
    SGjisho->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    SGjisho->edit(cell);
}

void TFjisho::Sakujo1Click() {
    model_->deleteRows(selectedRows());
}

void TFjisho::Ue1Click() {
    model_->moveRowsBy(selectedRows(), -1);
}

void TFjisho::Shita1Click() {
    model_->moveRowsBy(selectedRows(), 1);
}

void TFjisho::Saki1Click() {
    const int row = currentRow();
    if (row >= 0 && model_->hidingRow(row) >= 0)
        model_->moveRowsTo({row}, model_->hidingRow(row));
}

void TFjisho::Genin1Click() {
    const int row = currentRow();
    if (row >= 0 && model_->causeRow(row) >= 0)
        selectRows({model_->causeRow(row)});
}

void TFjisho::CKtangoClick(bool on) {
    guarded(this, [this, on] {
        SGjisho->commitEditing();
        model_->setWordMode(on);
    });
    // The switch shows what the rows declare, also when that did not change.
    updateWordMode();
}

void TFjisho::SGjishoActivated(const QModelIndex& index) {
    if (index.column() == DictionaryModel::FindingColumn)
        guarded(this, [this] { Genin1Click(); });
    else if (index.flags() & Qt::ItemIsEditable)
        SGjisho->edit(index);
}

} // namespace sorvanti
