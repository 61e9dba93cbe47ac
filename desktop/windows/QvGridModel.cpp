#include "desktop/windows/QvGridModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include "desktop/windows/GridAlignment.h"

namespace wexal::desktop {

QvGridModel::QvGridModel(QvGridStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

int QvGridModel::HeadingRows() const {
    return store_.FixedRows() > 0 && store_.Rows() > 0 ? 1 : 0;
}

QModelIndex QvGridModel::IndexOfCell(std::int32_t row, std::int32_t col) const {
    return index(row - HeadingRows(), col);
}

int QvGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_.Rows() - HeadingRows();
}

int QvGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_.Cols();
}

QVariant QvGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const std::int32_t row = index.row() + HeadingRows();
    const std::int32_t col = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(store_.TextMatrix(row, col));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(QtAlignment(store_.GridAlignment(col)));
        case Qt::BackgroundRole:
            if (store_.IsFixedCell(row, col)) {
                return QGuiApplication::palette().brush(QPalette::Button);
            }
            return {};
        case Qt::ForegroundRole:
            if (store_.IsFixedCell(row, col)) {
                return QGuiApplication::palette().brush(QPalette::ButtonText);
            }
            return {};
        default:
            return {};
    }
}

QVariant QvGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || HeadingRows() == 0 || section < 0 ||
        section >= store_.Cols()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(store_.TextMatrix(0, section));
    }
    return {};
}

Qt::ItemFlags QvGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || store_.IsFixedCell(index.row() + HeadingRows(), index.column())) {
        // Neither current nor selected: clicks and arrows pass over it.
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void QvGridModel::BeginAppendRow() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
}

void QvGridModel::CellChanged(std::int32_t row, std::int32_t col) {
    if (row < HeadingRows()) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex cell = IndexOfCell(row, col);
    emit dataChanged(cell, cell);
}

}  // namespace wexal::desktop
