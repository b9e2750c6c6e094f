#pragma once
// The seat view of one table: the table in the middle, one chair box per person
// seated there (family name over first name, coloured by the guest's answer),
// the legend, the table number, the number of guests and a print icon. Built
// once at load from g_SelTable and g_SelTablePeople; read-only.
#include <QString>
#include <QTextEdit>
#include <QVector>
#include <QWidget>

#include "platform/forms.h"

class QLabel;
namespace platform {
class Shape;
class LineControl;
}  // namespace platform

// One chair: a multi-line box with its text centred. Text() is the text as the
// program set it (the two name lines joined by g_NewLine).
class ChairBox : public QTextEdit {
 public:
  explicit ChairBox(QWidget* parent);
  QString Text() const { return text_; }
  void SetText(const QString& text);
  QColor BackColor() const { return back_; }
  void SetBackColor(const QColor& colour);

 private:
  QString text_;
  QColor back_;
};

class frmTable : public QWidget, public platform::Form<frmTable> {
  Q_OBJECT
 public:
  static constexpr int kChairWidth = 1575;   // twips
  static constexpr int kChairHeight = 495;
  static constexpr quint32 kComingColour = 0xC0E0FF;    // 0x00BBGGRR
  static constexpr quint32 kUnansweredColour = 0xC0C0FF;

  frmTable();
  void Form_Load() override;

  void imgPrint_DblClick();
  void txtChair_KeyPress(int Index, int& KeyAscii);

  // Controls. txtChair is the control array: element 0 is the design's, the
  // others are created while loading.
  QVector<ChairBox*> txtChair;
  platform::Shape* Shape1 = nullptr;
  platform::Shape* Shape2 = nullptr;
  platform::Shape* Shape3 = nullptr;
  QLabel* lblTableNum = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* lblNumOfPpl = nullptr;
  QLabel* imgLogo = nullptr;
  QLabel* imgPrint = nullptr;
  platform::LineControl* Line1 = nullptr;
  QLabel* lblFooterTitle = nullptr;
  QLabel* lblFooterWeb = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SeatInvitation(const QString& name, quint8 count, quint8 confirm);
  void PlaceChairs(quint8 seats);
  ChairBox* newChair();
  ChairBox* chair(int index) const;  // raises 340 for an element that does not exist
};
