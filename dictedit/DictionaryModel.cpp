#include "dictedit/DictionaryModel.h"

#include "conversion/WordModeDeclaration.h"
#include "dictedit/EditCommands.h"
#include "dictedit/FindingText.h"
#include "toolkit/Utf16.h"

#include <QColor>

#include <algorithm>
#include <numeric>
#include <optional>

namespace sorvanti {

namespace {

const QString kHeaders[DictionaryModel::kColumns] = {
    QStringLiteral("行"), QStringLiteral("標準語"), QStringLiteral("変換語"),
    QStringLiteral("備考"), QStringLiteral("問題")};

const QColor kCommentText(0x80, 0x80, 0x80);
const QColor kLostText(0xA0, 0x00, 0x00);
const QColor kLostBackground(0xFF, 0xE8, 0xE8);
const QColor kNoticeBackground(0xFF, 0xF6, 0xD8);

std::optional<DictionaryDocument::Field> fieldOf(int column) {
    switch (column) {
    case DictionaryModel::StandardColumn:
        return DictionaryDocument::Standard;
    case DictionaryModel::ConvertedColumn:
        return DictionaryDocument::Converted;
    case DictionaryModel::NoteColumn:
        return DictionaryDocument::Note;
    default:
        return std::nullopt;
    }
}

QString refusalMessage(const DictionaryDocument::Refusal& refusal) {
    switch (refusal.reason) {
    case DictionaryDocument::Refusal::Separator:
        return QStringLiteral("単語に空白やタブは使えません。");
    case DictionaryDocument::Refusal::LineBreak:
        return QStringLiteral("改行は使えません。");
    case DictionaryDocument::Refusal::NoFileForm:
        break;
    }
    return QStringLiteral("文字「%1」はこの辞書に書けません。").arg(toQString(refusal.character));
}

std::vector<int> sortedRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

DictionaryModel::DictionaryModel(QObject* parent) : QAbstractTableModel(parent) {
    analyse();
}

void DictionaryModel::reset(DictionaryDocument document) {
    beginResetModel();
    document_ = std::move(document);
    endResetModel();
    undoStack_.clear();
    analyse();
}

const std::vector<size_t>& DictionaryModel::findings(int row) const {
    static const std::vector<size_t> none;
    return size_t(row) < rowFindings_.size() ? rowFindings_[size_t(row)] : none;
}

bool DictionaryModel::hasProblem(int row) const {
    return !findings(row).empty() || document_.misread(size_t(row)).has_value();
}

int DictionaryModel::hidingRow(int row) const {
    int hiding = -1;
    for (const size_t k : findings(row)) {
        const CheckFinding& f = report_.findings[k];
        if (f.kind == FindingKind::Hidden && (hiding < 0 || f.cause - 1 < hiding))
            hiding = int(f.cause - 1);
    }
    return hiding;
}

int DictionaryModel::causeRow(int row) const {
    for (const size_t k : findings(row)) {
        if (report_.findings[k].cause > 0)
            return int(report_.findings[k].cause - 1);
    }
    return -1;
}

void DictionaryModel::insertEmptyRow(int at) {
    undoStack_.push(new InsertLinesCommand(*this, at, {Line{}}));
}

bool DictionaryModel::deleteRows(std::vector<int> rows) {
    rows = sortedRows(std::move(rows));
    if (rows.empty())
        return false;
    undoStack_.push(new DeleteLinesCommand(*this, std::move(rows)));
    return true;
}

bool DictionaryModel::moveRowsBy(std::vector<int> rows, int delta) {
    rows = sortedRows(std::move(rows));
    const int n = rowCount();
    if (rows.empty() || (delta < 0 && rows.front() == 0) || (delta > 0 && rows.back() == n - 1))
        return false;
    std::vector<size_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), size_t{0});
    std::vector<char> moving(size_t(n), 0);
    for (const int row : rows)
        moving[size_t(row)] = 1;
    // Each moved row changes place with the row that it passes.
    const auto pass = [&](size_t i, size_t j) {
        if (moving[i] && !moving[j]) {
            std::swap(order[i], order[j]);
            std::swap(moving[i], moving[j]);
        }
    };
    if (delta < 0) {
        for (size_t i = 1; i < size_t(n); ++i)
            pass(i, i - 1);
    } else {
        for (size_t i = size_t(n) - 1; i-- > 0;)
            pass(i, i + 1);
    }
    for (int& row : rows)
        row += delta < 0 ? -1 : 1;
    undoStack_.push(new MoveLinesCommand(*this, std::move(order), std::move(rows)));
    return true;
}

bool DictionaryModel::moveRowsTo(std::vector<int> rows, int before) {
    rows = sortedRows(std::move(rows));
    const size_t n = size_t(rowCount());
    std::vector<char> moving(n, 0);
    for (const int row : rows)
        moving[size_t(row)] = 1;
    std::vector<size_t> order;
    for (size_t i = 0; i < size_t(before); ++i)
        if (!moving[i])
            order.push_back(i);
    std::vector<int> moved;
    for (const int row : rows) {
        moved.push_back(int(order.size()));
        order.push_back(size_t(row));
    }
    for (size_t i = size_t(before); i < n; ++i)
        if (!moving[i])
            order.push_back(i);
    for (size_t p = 0; p < n; ++p) {
        if (order[p] != p) {
            undoStack_.push(new MoveLinesCommand(*this, std::move(order), std::move(moved)));
            return true;
        }
    }
    return false;
}

bool DictionaryModel::setWordMode(bool on) {
    endPreview();
    if (on == wordMode())
        return false;
    QUndoCommand* command = nullptr;
    if (on) {
        Line declaration;
        declaration.parts[1] = document_.encoding() == textencoding::Encoding::Utf8
                                   ? wordmode::kDeclarationUtf8
                                   : wordmode::kDeclaration;
        command = new InsertLinesCommand(*this, 0, {declaration});
    } else {
        std::vector<int> rows;
        for (const int64_t line : report_.declarationLines)
            rows.push_back(int(line - 1));
        command = new DeleteLinesCommand(*this, std::move(rows));
    }
    command->setText(on ? QStringLiteral("単語単位の指定")
                        : QStringLiteral("単語単位の指定の削除"));
    undoStack_.push(command);
    return true;
}

bool DictionaryModel::appendFileBytes(std::string_view appended) {
    DictionaryDocument grown = document_;
    if (!grown.appendFileBytes(appended))
        return false;
    const int before = rowCount();
    const int after = int(grown.size());
    if (after > before)
        beginInsertRows({}, before, after - 1);
    document_ = std::move(grown);
    if (after > before)
        endInsertRows();
    analyse();
    return true;
}

QString DictionaryModel::refusal(int row, int column, const QString& text) const {
    const std::optional<DictionaryDocument::Field> field = fieldOf(column);
    if (!field || row < 0 || row >= rowCount())
        return {};
    const auto edited = document_.withText(size_t(row), *field, utf16View(text));
    const auto* refused = std::get_if<DictionaryDocument::Refusal>(&edited);
    return refused ? refusalMessage(*refused) : QString();
}

void DictionaryModel::preview(int row, int column, const QString& text) {
    const std::optional<DictionaryDocument::Field> field = fieldOf(column);
    if (!field || row < 0 || row >= rowCount())
        return;
    const auto typed = document_.withText(size_t(row), *field, utf16View(text));
    if (!std::holds_alternative<Line>(typed))
        return;
    Line kept = document_.line(size_t(row));
    document_.setLine(size_t(row), std::get<Line>(typed));
    // Set first: the rows shown are not filtered again while a field is being typed.
    previewing_ = true;
    analyse();
    document_.setLine(size_t(row), std::move(kept));
}

void DictionaryModel::endPreview() {
    if (previewing_) {
        previewing_ = false;
        analyse();
    }
}

void DictionaryModel::applySetLine(int row, Line line) {
    document_.setLine(size_t(row), std::move(line));
    analyse();
}

void DictionaryModel::applyInsert(int at, std::vector<Line> lines) {
    beginInsertRows({}, at, at + int(lines.size()) - 1);
    document_.insertLines(size_t(at), std::move(lines));
    endInsertRows();
    analyse();
}

void DictionaryModel::applyRemove(int at, int count) {
    beginRemoveRows({}, at, at + count - 1);
    document_.removeLines(size_t(at), size_t(count));
    endRemoveRows();
    analyse();
}

void DictionaryModel::applyInsertRows(const std::vector<std::pair<int, Line>>& lines) {
    rowFindings_.clear(); // the rows move: none has findings until the analysis
    for (const auto& [row, line] : lines) {
        beginInsertRows({}, row, row);
        document_.insertLines(size_t(row), {line});
        endInsertRows();
    }
    analyse();
}

void DictionaryModel::applyRemoveRows(const std::vector<int>& rows) {
    rowFindings_.clear();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        beginRemoveRows({}, *it, *it);
        document_.removeLines(size_t(*it), 1);
        endRemoveRows();
    }
    analyse();
}

void DictionaryModel::applyPermute(const std::vector<size_t>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> to(order.size());
    for (size_t p = 0; p < order.size(); ++p)
        to[order[p]] = int(p);
    document_.permute(order);
    QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& index : before) {
        const int row = size_t(index.row()) < to.size() ? to[size_t(index.row())] : index.row();
        after << this->index(row, index.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    analyse();
}

void DictionaryModel::analyse() {
    report_ = document_.check(CheckWords{&analyser_, std::nullopt, &wordMarks_});
    rowFindings_.assign(document_.size(), {});
    for (size_t k = 0; k < report_.findings.size(); ++k) {
        const int64_t line = report_.findings[k].line;
        if (line >= 1 && size_t(line) <= rowFindings_.size())
            rowFindings_[size_t(line - 1)].push_back(k);
    }
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
    emit analysed();
}

QString DictionaryModel::findingText(int row, bool full) const {
    QStringList texts;
    for (const size_t k : findings(row)) {
        const CheckFinding& f = report_.findings[k];
        texts << (full ? findingtext::full(f) : findingtext::brief(f, report_, document_));
    }
    if (const std::optional<Line> read = document_.misread(size_t(row)))
        texts << (full ? findingtext::misreadFull(document_, *read)
                       : findingtext::misreadBrief(document_, *read));
    return texts.join(full ? QStringLiteral("\n") : QStringLiteral("、"));
}

QVariant DictionaryModel::background(int row) const {
    if (document_.misread(size_t(row)))
        return kLostBackground;
    bool any = false;
    for (const size_t k : findings(row)) {
        if (report_.findings[k].lost)
            return kLostBackground;
        any = true;
    }
    return any ? QVariant(kNoticeBackground) : QVariant();
}

int DictionaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(document_.size());
}

int DictionaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant DictionaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    const std::optional<DictionaryDocument::Field> field = fieldOf(column);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == LineColumn)
            return row + 1;
        if (column == FindingColumn)
            return findingText(row, false);
        return toQString(document_.text(size_t(row), *field));
    case Qt::ToolTipRole:
        return column == FindingColumn ? QVariant(findingText(row, true)) : QVariant();
    case Qt::ForegroundRole:
        if (document_.line(size_t(row)).comment())
            return kCommentText;
        return column == FindingColumn ? QVariant(kLostText) : QVariant();
    case Qt::BackgroundRole:
        return background(row);
    case Qt::TextAlignmentRole:
        return column == LineColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant DictionaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumns)
        return kHeaders[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DictionaryModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    const bool comment = document_.line(size_t(index.row())).comment();
    if (index.column() == NoteColumn ||
        (!comment && (index.column() == StandardColumn || index.column() == ConvertedColumn)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DictionaryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const std::optional<DictionaryDocument::Field> field = fieldOf(index.column());
    if (!index.isValid() || role != Qt::EditRole || !field)
        return false;
    const int row = index.row();
    const auto edited = document_.withText(size_t(row), *field, utf16View(value.toString()));
    if (const auto* refusal = std::get_if<DictionaryDocument::Refusal>(&edited)) {
        endPreview();
        emit refused(refusalMessage(*refusal));
        return false;
    }
    const Line& after = std::get<Line>(edited);
    const Line& before = document_.line(size_t(row));
    if (after == before) {
        endPreview();
        return false;
    }
    previewing_ = false;
    undoStack_.push(new EditLineCommand(*this, row, before, after,
                                        kHeaders[index.column()] + QStringLiteral("の変更")));
    return true;
}

} // namespace sorvanti
