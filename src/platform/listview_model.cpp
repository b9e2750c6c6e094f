#include "listview_model.h"

#include <QPixmap>

#include "listview.h"

namespace platform {

int ListItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : items.size(); }

int ListItemModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max<int>(1, headers.size());
}

QVariant ListItemModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= items.size()) return {};
  const Item& it = items[index.row()];
  const int c = index.column();
  switch (role) {
    case Qt::DisplayRole:
      if (c == 0) return it.text;
      return c - 1 < it.subItems.size() ? it.subItems[c - 1] : QString();
    case Qt::DecorationRole:
      if (c == 0 && small && !it.smallIcon.isEmpty()) {
        QPixmap p = small->Picture(it.smallIcon);
        if (!p.isNull()) return p;
      }
      return {};
    case LargeIconRole:
      if (c == 0 && large && !it.icon.isEmpty()) {
        QPixmap p = large->Picture(it.icon);
        if (!p.isNull()) return p;
      }
      return {};
    case Qt::TextAlignmentRole:
      return c == 0 ? QVariant() : QVariant(Qt::AlignLeading | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant ListItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers.size()) return headers[section];
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ListItemModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void ListItemModel::addHeader(const QString& text) {
  const int c = headers.size();
  if (c > 0) beginInsertColumns(QModelIndex(), c, c);
  headers.append(text);
  if (c > 0) endInsertColumns();
  else emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ListItemModel::clearHeaders() {
  const int n = headers.size();
  if (n > 1) beginRemoveColumns(QModelIndex(), 1, n - 1);
  headers.clear();
  if (n > 1) endRemoveColumns();
  emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ListItemModel::addItem(Item item) {
  const int row = items.size();
  beginInsertRows(QModelIndex(), row, row);
  items.append(std::move(item));
  endInsertRows();
}

void ListItemModel::clearItems() {
  beginResetModel();
  items.clear();
  endResetModel();
}

void ListItemModel::changed(int row, int column) {
  if (!redraw) {
    changedWhileOff = true;
    return;
  }
  const QModelIndex i = index(row, column);
  emit dataChanged(i, i);
}

void ListItemModel::changedAll() {
  changedWhileOff = false;
  if (items.isEmpty()) return;
  emit dataChanged(index(0, 0), index(items.size() - 1, columnCount() - 1));
}

}  // namespace platform
