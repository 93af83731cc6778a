#include "dictedit/RowFilter.h"

#include "dictedit/DictionaryModel.h"

namespace sorvanti {

RowFilter::RowFilter(DictionaryModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(&model);
    setDynamicSortFilter(false);
}

void RowFilter::setProblemsOnly(bool on) {
    problemsOnly_ = on;
    refresh();
}

void RowFilter::setSearch(const QString& text) {
    search_ = text;
    refresh();
}

void RowFilter::refresh() {
    invalidateFilter();
}

bool RowFilter::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const {
    if (problemsOnly_ && !model_.hasProblem(sourceRow))
        return false;
    if (search_.isEmpty())
        return true;
    for (const int column : {DictionaryModel::StandardColumn, DictionaryModel::ConvertedColumn}) {
        if (model_.index(sourceRow, column)
                .data()
                .toString()
                .contains(search_, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace sorvanti
