#pragma once
// The print design window: the look of envelope labels (mode 1) or of seating
// notes (mode 2), a small preview of one label or note, and the print button.
// The mode comes from g_PrintMode before the window loads.
#include <QDialog>

#include "platform/commondialog.h"
#include "platform/forms.h"

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace printing {
class PreviewShape;
class PreviewLine;
}  // namespace printing

class frmPrint : public QDialog, public platform::Form<frmPrint> {
  Q_OBJECT
 public:
  frmPrint();
  void Form_Load() override;

  void chkLabelAddress_Click();
  void chkLabelFrame_Click();
  void chkNoteFrame_Click();
  void lstStyles_Click();
  void lstStyles_KeyPress(int& KeyAscii);
  void cmdColor_Click();
  void cmdPrintLabel_Click();
  void cmdPrintNote_Click();

  QFrame* framLabelPrint = nullptr;
  QCheckBox* chkLabelFrame = nullptr;
  QCheckBox* chkLabelAddress = nullptr;
  printing::PreviewShape* shpLabelFrame = nullptr;
  QLabel* lblLabelName = nullptr;
  QLabel* lblLabelAddress = nullptr;
  QPushButton* cmdPrintLabel = nullptr;

  QFrame* framSittingNotePrint = nullptr;
  QCheckBox* chkNoteFrame = nullptr;
  QListWidget* lstStyles = nullptr;
  printing::PreviewShape* shpNoteFrame = nullptr;
  printing::PreviewLine* LineNoteFrame = nullptr;
  QLabel* imgBG = nullptr;
  QLabel* lblNoteName = nullptr;
  QLabel* lblNoteTable = nullptr;
  QPushButton* cmdPrintNote = nullptr;

  QFrame* Frame1 = nullptr;
  QLabel* Label1 = nullptr;
  printing::PreviewShape* shpColor = nullptr;
  QPushButton* cmdColor = nullptr;
  platform::CommonDialog CommonDialog1{this};

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
  void reject() override { close(); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillStyles();
  void applyColour();  // the preview in g_PrintColor
  bool filling_ = false;
};

namespace printing {

// The preview's drawn shapes: a rectangle (rounded, dotted or filled) and a
// dotted line; they take no input.
class PreviewShape : public QWidget {
 public:
  PreviewShape(QWidget* parent, bool rounded, Qt::PenStyle style);
  QColor BorderColor, FillColor;  // FillColor invalid: not filled
  bool Rounded;
  Qt::PenStyle Style;

 protected:
  void paintEvent(QPaintEvent*) override;
};

class PreviewLine : public QWidget {
 public:
  explicit PreviewLine(QWidget* parent);
  QColor BorderColor;

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace printing
