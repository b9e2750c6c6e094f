#include "listview.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <cmath>

#include "listview_model.h"
#include "listview_views.h"
#include "vb.h"
#include "vberror.h"

namespace platform {

void ImageList::Add(const QString& key, const QPixmap& picture) { pictures_.insert(key, picture); }

QPixmap ImageList::Picture(const QString& key) const { return pictures_.value(key); }

ListView::ListView(QWidget* parent) : QWidget(parent) {
  model_ = new ListItemModel(this);
  selection_ = new QItemSelectionModel(model_, this);

  icon_ = new IconModeView(this);
  iconDelegate_ = new LargeIconDelegate(this, icon_);
  icon_->setItemDelegate(iconDelegate_);
  icon_->setModel(model_);
  icon_->setSelectionModel(selection_);

  report_ = new ReportRowsView(this);
  report_->setModel(model_);
  report_->setSelectionModel(selection_);

  report_->hide();
  setFocusProxy(icon_);
  fitViews();
}

ListView::~ListView() = default;

// The views fill the list. Also while the list is hidden, which delivers no
// resize events: the icon view arranges new items by its width.
void ListView::fitViews() {
  if (icon_->geometry() != rect()) icon_->setGeometry(rect());
  if (report_->geometry() != rect()) report_->setGeometry(rect());
}

void ListView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fitViews();
}

void ListView::checkIndex(int index) const {
  if (index < 1 || index > model_->items.size()) Raise(35600, QStringLiteral("Index out of bounds"));
}

void ListView::SetView(ViewStyle view) {
  view_ = view;
  QAbstractItemView* w = CurrentView();
  QAbstractItemView* other = view == lvwReport ? IconView() : ReportView();
  const bool hadFocus = other->hasFocus();
  fitViews();
  w->show();
  other->hide();
  setFocusProxy(w);
  if (hadFocus) w->setFocus(Qt::OtherFocusReason);
  if (const int sel = SelectedItem()) CurrentView()->scrollTo(model_->index(sel - 1, 0));
}

void ListView::SetIcons(const ImageList* large) {
  model_->large = large;
  model_->changedAll();
}

void ListView::SetSmallIcons(const ImageList* small) {
  model_->small = small;
  model_->changedAll();
}

void ListView::SetIconSize(const QSize& size) {
  iconDelegate_->setIconSize(size);
  icon_->setIconSize(size);
  icon_->setGridSize(QSize(size.width() + 40, size.height() + 40));
}

int ListView::AddColumnHeader(const QString& text, double widthTwips) {
  model_->addHeader(text);
  columnWidths_.append(widthTwips);
  applyColumnWidths();
  return model_->headers.size();
}

int ListView::ColumnHeaderCount() const { return model_->headers.size(); }

QString ListView::ColumnHeaderText(int index) const {
  if (index < 1 || index > model_->headers.size()) Raise(35600, QStringLiteral("Index out of bounds"));
  return model_->headers[index - 1];
}

double ListView::ColumnHeaderWidth(int index) const {
  if (index < 1 || index > columnWidths_.size()) Raise(35600, QStringLiteral("Index out of bounds"));
  return columnWidths_[index - 1];
}

void ListView::ClearColumnHeaders() {
  model_->clearHeaders();
  columnWidths_.clear();
}

void ListView::applyColumnWidths() {
  auto* header = report_->header();
  for (int i = 0; i < columnWidths_.size(); ++i) header->resizeSection(i, vb::TwipsToPixelsX(columnWidths_[i]));
}

int ListView::AddItem(const QString& text, const QString& iconKey, const QString& smallIconKey) {
  fitViews();
  const int row = model_->items.size();
  model_->addItem({text, iconKey, smallIconKey, {}});
  if (row == 0) SetSelectedItem(1);
  return row + 1;
}

int ListView::ItemCount() const { return model_->items.size(); }

void ListView::ClearItems() {
  model_->clearItems();
  applyColumnWidths();
}

QString ListView::ItemText(int index) const {
  checkIndex(index);
  return model_->items[index - 1].text;
}

void ListView::SetItemText(int index, const QString& text) {
  checkIndex(index);
  auto& it = model_->items[index - 1];
  if (it.text == text) return;
  it.text = text;
  model_->changed(index - 1, 0);
}

QString ListView::ItemIcon(int index) const {
  checkIndex(index);
  return model_->items[index - 1].icon;
}

QString ListView::ItemSmallIcon(int index) const {
  checkIndex(index);
  return model_->items[index - 1].smallIcon;
}

QString ListView::SubItem(int index, int sub) const {
  checkIndex(index);
  const auto& subs = model_->items[index - 1].subItems;
  return sub >= 1 && sub <= subs.size() ? subs[sub - 1] : QString();
}

void ListView::SetSubItem(int index, int sub, const QString& text) {
  checkIndex(index);
  // As the common control: a sub-item needs its column header.
  if (sub < 1 || sub >= model_->headers.size()) Raise(380, QStringLiteral("Invalid property value"));
  auto& subs = model_->items[index - 1].subItems;
  while (subs.size() < sub) subs.append(QString());
  if (subs[sub - 1] == text) return;
  subs[sub - 1] = text;
  model_->changed(index - 1, sub);
}

double ListView::ItemLeft(int index) const {
  checkIndex(index);
  return vb::PixelsToTwipsX(icon_->itemRect(model_->index(index - 1, 0)).left());
}

double ListView::ItemTop(int index) const {
  checkIndex(index);
  return vb::PixelsToTwipsY(icon_->itemRect(model_->index(index - 1, 0)).top());
}

bool ListView::PlaceFits(double twips) {
  constexpr int kLargestPlace = 32767;  // pixels
  return std::isfinite(twips) && twips >= 0 &&
         twips <= std::max(vb::PixelsToTwipsX(kLargestPlace), vb::PixelsToTwipsY(kLargestPlace));
}

void ListView::checkPlace(double twips) const {
  if (!PlaceFits(twips)) Raise(380, QStringLiteral("Invalid property value"));
}

void ListView::SetItemLeft(int index, double twips) {
  fitViews();
  checkIndex(index);
  checkPlace(twips);
  const QModelIndex i = model_->index(index - 1, 0);
  icon_->placeItem(QPoint(vb::TwipsToPixelsX(twips), icon_->itemRect(i).top()), i);
}

void ListView::SetItemTop(int index, double twips) {
  fitViews();
  checkIndex(index);
  checkPlace(twips);
  const QModelIndex i = model_->index(index - 1, 0);
  icon_->placeItem(QPoint(icon_->itemRect(i).left(), vb::TwipsToPixelsY(twips)), i);
}

QPointF ListView::ItemPlaceInView(int index) const {
  if (view_ != lvwReport) return {ItemLeft(index), ItemTop(index)};
  checkIndex(index);
  const QPoint cell =
      report_->visualRect(model_->index(index - 1, 0)).topLeft() + QPoint(0, report_->scrolledDown());
  const QPoint inList = report_->viewport()->mapTo(this, cell);
  return {vb::PixelsToTwipsX(inList.x()), vb::PixelsToTwipsY(inList.y())};
}

int ListView::SelectedItem() const {
  const QModelIndexList sel = selection_->selectedIndexes();
  return sel.isEmpty() ? 0 : sel.first().row() + 1;
}

void ListView::SetSelectedItem(int index) {
  if (index == 0) {
    selection_->clearSelection();
    return;
  }
  checkIndex(index);
  selection_->setCurrentIndex(model_->index(index - 1, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  icon_->viewport()->update();
}

void ListView::RemovePicture() { SetPicture(QPixmap()); }

void ListView::SetRedraw(bool on) {
  model_->redraw = on;
  if (on && model_->changedWhileOff) model_->changedAll();
}

void ListView::Refresh() { CurrentView()->viewport()->update(); }

double ListView::WidthTwips() const { return vb::PixelsToTwipsX(width()); }
double ListView::HeightTwips() const { return vb::PixelsToTwipsY(height()); }

QAbstractItemView* ListView::CurrentView() const { return view_ == lvwReport ? ReportView() : IconView(); }
QAbstractItemView* ListView::IconView() const { return icon_; }
QAbstractItemView* ListView::ReportView() const { return report_; }

QRect ListView::ItemRect(int index) const {
  checkIndex(index);
  return CurrentView()->visualRect(model_->index(index - 1, 0));
}

}  // namespace platform
