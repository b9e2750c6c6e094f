#pragma once
// The about window: title, version, description, the maker's links and a
// button for the system-information tool.
#include <QDialog>

#include "platform/forms.h"

class QLabel;
class QPushButton;

class frmAbout : public QDialog, public platform::Form<frmAbout> {
  Q_OBJECT
 public:
  static constexpr qint32 HKEY_LOCAL_MACHINE = qint32(0x80000002);

  frmAbout();
  void Form_Load() override;

  void cmdOK_Click();
  void cmdSysInfo_Click();
  void lblWeb_Click();
  void lblMail_Click();

  void StartSysInfo();
  bool GetKeyValue(qint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

  QLabel* imgLogo = nullptr;
  QLabel* Image4 = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* imgHome = nullptr;
  QLabel* lblWeb = nullptr;
  QLabel* imgEmail = nullptr;
  QLabel* lblMail = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
  void reject() override { close(); }
  bool eventFilter(QObject* watched, QEvent* event) override;
};
