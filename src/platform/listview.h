#pragma once
// A list view in the manner of the Windows common control: items with a text, a
// large and a small picture (by key, from two image lists) and sub-item texts,
// shown either as freely placed icons or as a report with column headers.
// Both views share one model and one selection, so switching keeps the items,
// their texts and the selected item. Items are numbered from 1; positions and
// widths are in twips.
#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QAbstractItemView;
class QItemSelectionModel;

namespace platform {

// Pictures by key.
class ImageList {
 public:
  void Add(const QString& key, const QPixmap& picture);
  QPixmap Picture(const QString& key) const;  // null when the key is unknown
  bool Contains(const QString& key) const { return pictures_.contains(key); }
  int Count() const { return pictures_.size(); }
  void Clear() { pictures_.clear(); }

 private:
  QHash<QString, QPixmap> pictures_;
};

class ListItemModel;
class IconModeView;
class ReportRowsView;
class LargeIconDelegate;

class ListView : public QWidget {
  Q_OBJECT
 public:
  enum ViewStyle { lvwIcon = 0, lvwReport = 3 };
  explicit ListView(QWidget* parent = nullptr);
  ~ListView() override;

  void SetView(ViewStyle view);
  ViewStyle View() const { return view_; }

  // The image lists are not owned and must outlive the list.
  void SetIcons(const ImageList* large);
  void SetSmallIcons(const ImageList* small);
  // Size of the pictures in icon view (pixels).
  void SetIconSize(const QSize& size);

  // Column headers of the report view.
  int AddColumnHeader(const QString& text, double widthTwips);
  int ColumnHeaderCount() const;
  QString ColumnHeaderText(int index) const;     // from 1
  double ColumnHeaderWidth(int index) const;      // twips
  void ClearColumnHeaders();

  // Items, from 1. Adding to an empty list selects the first item.
  int AddItem(const QString& text, const QString& iconKey = QString(), const QString& smallIconKey = QString());
  int ItemCount() const;
  void ClearItems();
  QString ItemText(int index) const;  // raises 35600 out of range
  void SetItemText(int index, const QString& text);
  QString ItemIcon(int index) const;
  QString ItemSmallIcon(int index) const;
  // Sub-item 1 is the report's second column.
  QString SubItem(int index, int sub) const;
  void SetSubItem(int index, int sub, const QString& text);

  // Where an item stands in icon view, relative to the list's contents (twips).
  // A place must fit the icon view (PlaceFits); any other raises 380.
  double ItemLeft(int index) const;
  double ItemTop(int index) const;
  void SetItemLeft(int index, double twips);
  void SetItemTop(int index, double twips);
  // Whether an item can stand at this coordinate of the icon view (twips): from
  // 0 to 32767 pixels, the places the common control keeps, so it can be
  // scrolled to and seen.
  static bool PlaceFits(double twips);
  // Where an item stands in the view showing now, relative to the list
  // (twips): in icon view its place as above, in report view the top left of
  // its row's first cell as if the rows were not scrolled.
  QPointF ItemPlaceInView(int index) const;

  // The selected item, 0 for none; 0 clears the selection.
  int SelectedItem() const;
  void SetSelectedItem(int index);

  // The icon view's background picture; it scrolls with the items.
  void SetPicture(const QPixmap& picture);
  void RemovePicture();
  bool HasPicture() const { return !picture_.isNull(); }
  const QPixmap& Picture() const { return picture_; }

  // Off while many items change: one repaint when switched back on.
  void SetRedraw(bool on);
  void Refresh();

  double WidthTwips() const;
  double HeightTwips() const;

  // The widget showing the current view, and where an item is drawn in it
  // (viewport pixels); for driving the list like a user.
  QAbstractItemView* CurrentView() const;
  QAbstractItemView* IconView() const;
  QAbstractItemView* ReportView() const;
  QRect ItemRect(int index) const;

 signals:
  void Click();
  // The user changed the selected item: a press of either mouse button (a
  // right click selects the item under the pointer first, or no item on an
  // empty place), a drag over the rows or a key. Sent before MouseDown; a
  // change made by the program sends nothing.
  void SelectionChanged();
  void DblClick();
  // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 ctrl, 4 alt; x, y in twips
  // relative to the list.
  void MouseDown(int Button, int Shift, double X, double Y);
  void GotFocus();

 private:
  void checkIndex(int index) const;
  void checkPlace(double twips) const;
  void applyColumnWidths();
  void fitViews();
  void resizeEvent(QResizeEvent* event) override;

  ListItemModel* model_ = nullptr;
  QItemSelectionModel* selection_ = nullptr;
  IconModeView* icon_ = nullptr;
  ReportRowsView* report_ = nullptr;
  LargeIconDelegate* iconDelegate_ = nullptr;
  ViewStyle view_ = lvwIcon;
  QPixmap picture_;
  QVector<double> columnWidths_;  // twips
};

}  // namespace platform
