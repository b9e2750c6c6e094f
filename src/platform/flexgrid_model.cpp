#include "flexgrid_model.h"

#include <QBrush>
#include <QFont>
#include <QWidget>
#include <algorithm>

namespace platform {

FlexGridModel::FlexGridModel(QWidget* fontSource, QObject* parent)
    : QAbstractTableModel(parent), fontSource_(fontSource), cells_(static_cast<size_t>(rows_) * cols_) {}

void FlexGridModel::resize(int rows, int cols) {
  beginResetModel();
  if (cols == cols_) {
    cells_.resize(static_cast<size_t>(rows) * cols);
  } else {
    std::vector<FlexCell> next(static_cast<size_t>(rows) * cols);
    const int keepRows = std::min(rows, rows_), keepCols = std::min(cols, cols_);
    for (int r = 0; r < keepRows; ++r)
      for (int c = 0; c < keepCols; ++c)
        next[static_cast<size_t>(r) * cols + c] = std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    cells_.swap(next);
  }
  rows_ = rows;
  cols_ = cols;
  endResetModel();
}

void FlexGridModel::clearCells() {
  beginResetModel();
  std::fill(cells_.begin(), cells_.end(), FlexCell{});
  endResetModel();
}

void FlexGridModel::headerChanged() {
  if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
}

Qt::Alignment FlexGridModel::qtAlignment(int code, const QString& text) {
  if (code < 0 || code > 8) {  // general: numbers to the right, text to the left
    bool number = false;
    text.trimmed().toDouble(&number);
    return Qt::AlignAbsolute | Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft);
  }
  static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  return Qt::AlignAbsolute | horizontal[code / 3] | vertical[code % 3];
}

int FlexGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, rows_ - 1);
}

int FlexGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant FlexGridModel::cellData(const FlexCell& c, int role) const {
  switch (role) {
    case Qt::DisplayRole:
      return c.text;
    case Qt::TextAlignmentRole:
      return static_cast<int>(qtAlignment(c.alignment, c.text));
    case Qt::BackgroundRole:
      return c.back.isValid() ? QVariant(QBrush(c.back)) : QVariant();
    case Qt::ForegroundRole:
      return c.fore.isValid() ? QVariant(QBrush(c.fore)) : QVariant();
    case Qt::FontRole:
      if (c.bold) {
        QFont f = fontSource_ ? fontSource_->font() : QFont();
        f.setBold(true);
        return f;
      }
      return QVariant();
    default:
      return QVariant();
  }
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() + 1 >= rows_ || index.column() >= cols_) return QVariant();
  return cellData(cell(index.row() + 1, index.column()), role);
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= cols_ || rows_ < 1) return QVariant();
  return cellData(cell(0, section), role);
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace platform
