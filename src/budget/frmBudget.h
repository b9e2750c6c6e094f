#pragma once
// The wedding budget: the one row of WED_BUDGET as thirty amounts (two columns
// of fifteen headings), their total, today's date, an update button and a print
// icon. Keeps its own connection to Wed.mdb from load to unload.
#include <QStringList>
#include <QVector>
#include <QWidget>

#include "platform/dao.h"
#include "platform/forms.h"

class QLabel;
class QLineEdit;
class QPushButton;
namespace platform {
class ScrollFrame;
class Shape;
class LineControl;
}  // namespace platform

class frmBudget : public QWidget, public platform::Form<frmBudget> {
  Q_OBJECT
 public:
  static constexpr int kBranches = 30;
  // The largest whole amount a box may hold when stored.
  static constexpr double kMaxAmount = 922337203685477.0;

  frmBudget();
  ~frmBudget() override;
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  void LoadBudget();
  vb::Currency SumOfBudget();
  bool ValidateBudget();
  void PrintBudget();

  void cmdUpdate_Click();
  // The update's checks and store; false when refused or not stored (the
  // message shown, the focus on a refused box).
  bool StoreBudget();
  // True when a box holds an amount other than the one last loaded.
  bool HasUnstoredAmounts() const;
  void imgPrint_DblClick();

  // Controls. Box i holds field i of the row; heading i is its caption.
  QVector<QLineEdit*> txtBudgetBranch;
  QVector<QLabel*> lblBudgetBranch;
  QLabel* lblTitle = nullptr;
  QLabel* lblDate = nullptr;
  platform::Shape* Shape1 = nullptr;
  QLabel* lblSumCaption = nullptr;
  QLabel* lblSum = nullptr;
  QPushButton* cmdUpdate = nullptr;
  QLabel* imgPrint = nullptr;
  platform::LineControl* Line1 = nullptr;
  QLabel* lblFooterTitle = nullptr;
  QLabel* lblFooterWeb = nullptr;

  // True when the table had no row at the last load: the next update adds it.
  bool m_bNew = false;

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls(QWidget* page);
  platform::ScrollFrame* frame_ = nullptr;
  dao::Handle<dao::Database> m_DB;
  dao::Handle<dao::Recordset> m_RS;
  // What each box showed after the last load: the stored amounts.
  QStringList m_Loaded;
};
