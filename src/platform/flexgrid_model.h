#pragma once
// Cell storage of FlexGrid: one flat vector of cells, grid row 0 served as the
// horizontal header and grid rows 1.. as model rows 0... Writes go straight to
// the vector without signals; the grid repaints or resets the model as needed.
#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <vector>

class QWidget;

namespace platform {

struct FlexCell {
  QString text;
  QColor back;  // invalid: the grid's default
  QColor fore;
  qint8 alignment = 9;  // flexAlignGeneral
  bool bold = false;
};

class FlexGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // fontSource: the widget whose font bold cells are drawn in.
  explicit FlexGridModel(QWidget* fontSource, QObject* parent = nullptr);

  int gridRows() const { return rows_; }
  int gridCols() const { return cols_; }
  // Unchecked access; the grid validates row and column first.
  FlexCell& cell(int row, int col) { return cells_[static_cast<size_t>(row) * cols_ + col]; }
  const FlexCell& cell(int row, int col) const { return cells_[static_cast<size_t>(row) * cols_ + col]; }

  // Both reset the model. Resizing keeps the cells that remain in range.
  void resize(int rows, int cols);
  void clearCells();
  // Header texts or formats were written.
  void headerChanged();

  // Qt alignment flags for a grid alignment code (absolute left/right).
  static Qt::Alignment qtAlignment(int code, const QString& text);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  QVariant cellData(const FlexCell& c, int role) const;

  QWidget* fontSource_;
  int rows_ = 2;
  int cols_ = 2;
  std::vector<FlexCell> cells_;
};

}  // namespace platform
