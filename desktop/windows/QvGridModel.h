// The grid store as Qt's views see it: the store's first fixed row is the
// view's horizontal header, so it stays while the rows scroll; the other
// fixed cells are drawn in the header's colours and can be neither selected
// nor edited. Model rows are store rows less that heading row.
#pragma once

#include <QAbstractTableModel>

#include "desktop/core/QvGridStore.h"

namespace wexal::desktop {

class QvGridModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    QvGridModel(QvGridStore& store, QObject* parent);

    // 1 when the store's row 0 is the heading row, else 0.
    int HeadingRows() const;
    QModelIndex IndexOfCell(std::int32_t row, std::int32_t col) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // What changed in the store.
    void BeginRebuild() { beginResetModel(); }
    void EndRebuild() { endResetModel(); }
    void BeginAppendRow();
    void EndAppendRow() { endInsertRows(); }
    void CellChanged(std::int32_t row, std::int32_t col);

  private:
    QvGridStore& store_;
};

}  // namespace wexal::desktop
