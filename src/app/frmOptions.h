#pragma once
// The options window: the couple's and families' names, the wedding date, the
// user's guest groups and the table limits. It edits copies in its controls;
// only Apply (or OK) checks them, stores them in the program-wide options,
// writes pelmora.ini and refreshes the main window and the tables map.
#include <QDialog>

#include "platform/forms.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

class frmOptions : public QDialog, public platform::Form<frmOptions> {
  Q_OBJECT
 public:
  frmOptions();
  ~frmOptions() override;

  void Form_Load() override;

  void cmdApply_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

  // Group editor.
  void lstGroups_Click();
  void lstGroups_DblClick();
  void cmdAddUpdateGroup_Click();
  void cmdCancelUpdate_Click();
  void cmdDelGroup_Click();
  // Back to add mode.
  void CancelUpdate();

  void SSTab1_Click(int PreviousTab);

  // Every edit makes the window dirty (Apply enabled).
  void txtCouple_Change();
  void txtHisFamily_Change();
  void txtHerFamily_Change();
  void txtMaxTable_Change();
  void txtMaxChairs_Change();
  void DTPickWedding_Change();

  // The group number a list entry had when it was last stored (0 for a new one).
  static constexpr int kGroupNumberRole = Qt::UserRole + 1;

  // Group editor mode.
  enum GroupMode : quint8 { AddMode = 1, UpdateMode = 2 };
  quint8 m_GroupMode = AddMode;

  // Controls.
  QTabWidget* SSTab1 = nullptr;
  QLabel* lblCouple = nullptr;
  QLineEdit* txtCouple = nullptr;
  QLabel* lblHisFamily = nullptr;
  QLineEdit* txtHisFamily = nullptr;
  QLabel* lblHerFamily = nullptr;
  QLineEdit* txtHerFamily = nullptr;
  QLabel* lblWeddingDate = nullptr;
  QDateEdit* DTPickWedding = nullptr;
  QListWidget* lstGroups = nullptr;
  QLineEdit* txtNewGroup = nullptr;
  QPushButton* cmdAddUpdateGroup = nullptr;
  QPushButton* cmdDelGroup = nullptr;
  QPushButton* cmdCancelUpdate = nullptr;
  QLabel* lblMaxTable = nullptr;
  QLineEdit* txtMaxTable = nullptr;
  QLabel* lblMaxChairs = nullptr;
  QLineEdit* txtMaxChairs = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdApply = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void buildControls();
  void connectHandlers();
  void setDirty() const;
  bool groupExists(const QString& name, int exceptRow) const;
  enum class ApplyResult { Stored, Refused, NotStored };
  ApplyResult apply();
  bool storeOptionsAndGroups();

  int m_CurrentTab = 0;
};
