#pragma once
// A toolbar whose buttons are addressed by index from 1, as the program's
// command tables number them. Separators count as buttons. Its buttons are
// stops of the window's Tab order after the window's own controls: the window
// opens on its first control, and Tab reaches every command.
#include <QIcon>
#include <QToolBar>
#include <QVector>

class QAction;

namespace platform {

class Toolbar : public QToolBar {
  Q_OBJECT
 public:
  enum Style { tbrDefault = 0, tbrCheck = 1, tbrSeparator = 3 };
  explicit Toolbar(QWidget* parent = nullptr);

  // Appends a button; returns its index (from 1).
  int AddButton(const QString& caption, const QIcon& icon = QIcon(), Style style = tbrDefault);
  int Count() const;
  QAction* Button(int index) const;  // raises 35600 "Index out of bounds"

  void SetToolTip(int index, const QString& text);
  void SetEnabled(int index, bool enabled);
  bool IsEnabled(int index) const;
  // Pressed state of a check button (tbrPressed).
  void SetPressed(int index, bool pressed);
  bool IsPressed(int index) const;
  void Refresh();

  // Test and program use: what a click on the button does.
  void Click(int index);

 signals:
  void ButtonClick(int index);

 protected:
  void actionEvent(QActionEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QVector<QAction*> buttons_;
  bool focusPlaced_ = false;
};

}  // namespace platform
