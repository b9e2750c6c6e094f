#pragma once
// The invitation editor: adds one invitation, updates one, or sets the sent
// flag of several grid rows at once. Modeless; the main window sets the mode in
// the program-wide variables (g_InvMode, g_MultiSel, the selection) first.
//
// An update of one invitation holds its record open in g_DB/g_RS from the
// opening until a save succeeds, Cancel, or the window closes.
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <memory>
#include <optional>

#include "platform/dao.h"
#include "platform/forms.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
namespace platform {
class ErrorState;
}  // namespace platform

class frmInvDetails : public QWidget, public platform::Form<frmInvDetails> {
  Q_OBJECT
 public:
  frmInvDetails();
  ~frmInvDetails() override;

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  // The whole add: checks, duplicate test, append, refresh. Only SaveInv calls it.
  bool AddRecord();
  // Update mode's loading: the picked invitation into the controls, held open.
  void UpdateRecord();
  // Empties the editor for the next invitation (the group stays).
  void ClearInv();
  // Negates mode, then shows the field editors exactly when it is now True.
  void InitMultiSelection(bool& mode);
  // The group list anew from the program-wide groups (after the options'
  // Apply or an import). The group shown stays; one renamed in place shows
  // its new name, and with `renumbered` (stored group number -> number now)
  // one that moved up shows under its new place.
  void RefreshGroupList(const QMap<int, int>& renumbered = {});

  // For the main window when Add or Update is chosen while the editor is open:
  // releases a record a previous update held, then applies the mode now in the
  // program-wide variables as the opening does (caption; update: clear and load
  // the picked invitation(s); add: clear). The current tab stays. Add while
  // the editor is already adding changes nothing: what was typed stays.
  void Reopen();

  // Handlers.
  bool SaveInv();
  void cmdOK_Click();
  void cmdCancel_Click();
  void TabStrip1_Click();
  void optPresCheck_Click();
  void optPresCashe_Click();
  void optPresDiff_Click();
  void chkConfirmOk_Click();
  void chkConfirmNotOk_Click();
  void chkConfirmUnkown_Click();

  // Controls.
  QTabBar* TabStrip1 = nullptr;
  QGroupBox* framInvDetails = nullptr;
  QGroupBox* framInvConfirm = nullptr;
  QGroupBox* framPresentDetails = nullptr;

  QLabel* lblFamilyName = nullptr;
  QLineEdit* txtFamilyName = nullptr;
  QLabel* lblFirstName = nullptr;
  QLineEdit* txtFirstName = nullptr;
  QLabel* lblPhones = nullptr;
  QLineEdit* txtPhones = nullptr;
  QLabel* lblAddress = nullptr;
  QPlainTextEdit* txtAddress = nullptr;
  QLabel* lblInvNum = nullptr;
  QComboBox* cmbInvNum = nullptr;
  QLabel* lblGroup = nullptr;
  QComboBox* cmbGroup = nullptr;
  QLabel* lblRemark = nullptr;
  QPlainTextEdit* txtRemark = nullptr;

  QLabel* lblTableNo = nullptr;
  QComboBox* cmbTableNo = nullptr;
  QCheckBox* chkConfirmOk = nullptr;
  QCheckBox* chkConfirmNotOk = nullptr;
  QCheckBox* chkConfirmUnkown = nullptr;
  QCheckBox* chkInvSent = nullptr;

  QRadioButton* optPresCheck = nullptr;
  QRadioButton* optPresCashe = nullptr;
  QRadioButton* optPresDiff = nullptr;
  QLabel* lblPresentDesc = nullptr;
  QLineEdit* txtPresent = nullptr;
  QLabel* lblShekel = nullptr;

  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void connectHandlers();
  void applyMode();
  void fillGroupList();
  // Ctrl+Tab and the like: the next tab (step 1) or the one before (-1).
  void switchTab(int step);
  // The fifteen field editors that a multi-row update hides.
  QList<QWidget*> fieldEditors() const;
  void showEditors(bool visible);
  void setPresentKind(bool money);
  void keepOneAnswer(QCheckBox* checked);
  // What the field editors hold, as they hold it.
  struct Shown {
    QString family, first, phones, address, remark, invNum, group, table, present;
    bool sent = false;
    int confirm = 0;      // ConfirmCode
    int presentType = 0;  // PresentType
  };
  Shown shown() const;
  void showValues(const Shown& s);
  // The current record of g_RS as the editors show it, field by field: a
  // field that cannot be read is recorded in err and keeps its value in s.
  static void ReadStoredInto(Shown& s, platform::ErrorState& err);
  // Every field of the current record of g_RS as stored, by name.
  static QVariantMap StoredValues();

  // Key rules; true when the key was handled (saved or swallowed).
  bool filterKey(QObject* control, int keyAscii);

  // Saving (frmInvDetails_save.cpp).
  bool UpdateSingle();
  bool UpdateMulti();
  bool EndUpdate(const QString& errorText, bool failed, const QString& notFound);
  void SwitchToAddMode();
  // Moves g_RS from its current record to the first invitation with these
  // names, passing over the one at skipPosition; false when none is left.
  static bool SeekInvitation(const QString& family, const QString& first, long skipPosition = -1);

  // The record an update of one invitation holds open (what UpdateRecord put
  // in g_DB/g_RS). Kept here too, so another window's use of g_DB/g_RS while
  // the editor is open cannot redirect the rewrite to some other record.
  std::shared_ptr<dao::Database> m_HeldDB;
  std::shared_ptr<dao::Recordset> m_HeldRS;
  void ReleaseHeldRecord();
  // Opens the program folder's Wed.mdb and its invitations into g_DB/g_RS and
  // holds both; raises as the opening does.
  void HoldGuestTable();
  // The held invitation read again from the program folder's Wed.mdb and
  // held anew; 3167 when it is gone.
  void RereadHeldRecord();
  // What the editors showed of the held invitation when the window loaded it
  // (the group following a rename), and its fields as stored then: a save
  // tells by them what the user changed and what another program changed.
  std::optional<Shown> m_Loaded;
  QVariantMap m_StoredAtOpen;

  // The invitations of a multi-row update, by their names, taken from the grid
  // rows when the editor opens on them: the list may be sorted or filtered
  // before the save.
  struct Picked {
    QString family, first;
  };
  QList<Picked> m_Picked;

  int m_Mode = 0;  // the InvMode the window shows (1 add, 2 update)
};
