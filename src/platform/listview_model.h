#pragma once
// Item storage of ListView: rows are items; column 0 the item text, column c
// the sub-item c. Both views of the list show this one model.
#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVector>

namespace platform {

class ImageList;

// The picture the icon view draws for an item (a QPixmap, or nothing).
constexpr int LargeIconRole = Qt::UserRole + 1;

class ListItemModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  struct Item {
    QString text, icon, smallIcon;
    QStringList subItems;  // index 0 is sub-item 1
  };
  using QAbstractTableModel::QAbstractTableModel;

  QVector<Item> items;
  QStringList headers;
  const ImageList* large = nullptr;
  const ImageList* small = nullptr;
  bool redraw = true;
  bool changedWhileOff = false;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void addHeader(const QString& text);
  void clearHeaders();
  void addItem(Item item);
  void clearItems();
  // One cell changed; held back while redraw is off.
  void changed(int row, int column);
  void changedAll();
};

}  // namespace platform
