#pragma once

#include <QSortFilterProxyModel>

namespace sorvanti {

class DictionaryModel;

// The rows of the dictionary editor that are shown: all, or those with problems only, and of
// those the ones whose standard or converted word holds the search text (letter case
// ignored). Rows are always in file order. The filter is redone when asked (refresh), not on
// every change, so that a row being typed into never vanishes under the caret.
class RowFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    RowFilter(DictionaryModel& model, QObject* parent = nullptr);

    void setProblemsOnly(bool on);
    void setSearch(const QString& text);
    void refresh();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    DictionaryModel& model_;
    bool problemsOnly_ = false;
    QString search_;
};

} // namespace sorvanti
