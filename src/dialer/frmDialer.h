#pragma once
// The phone dialer: finds a modem on COM1 to COM4, dials a number with the
// tone-dial command ending in ";", asks the user to pick up the handset, then
// hangs the modem up and frees the port. Modeless, English.
#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

#include "platform/forms.h"
#include "platform/serialport.h"
#include "platform/vberror.h"

class QLabel;
class QLineEdit;
class QPushButton;

class frmDialer : public QWidget, public platform::Form<frmDialer> {
  Q_OBJECT
 public:
  frmDialer();
  ~frmDialer() override;

  void Form_Load() override;
  void Form_Activate();
  void Form_Unload(int& Cancel) override;  // the close question
  void cmdDial_Click();
  void cmdCancel_Click();
  void cmdQuit_Click();

  quint8 FindModem();
  void RelDialer();

  QLineEdit* txtNumber = nullptr;
  QLabel* txtStatus = nullptr;
  QPushButton* cmdDial = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdQuit = nullptr;
  platform::SerialPort MSComm1;

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
  void changeEvent(QEvent* event) override;

 private:
  void DialNumber(const QString& number, platform::ErrorState& err);
  void setStatus(const QString& text);
  void letMessagesRun(int elapsedMs);
  void finishSequence();
  QString noModemText() const;

  bool m_Cancelled = false;
  bool m_Busy = false;            // a dial sequence is running
  bool m_EndCall = false;         // the window is closing: end the call without the pick-up
  bool m_UnloadWhenDone = false;  // close once the running sequence has ended
  bool m_DialWhenDone = false;    // a dial request came while a sequence was ending
  QList<QPair<int, QString>> m_DeniedPorts;  // the last probe's ports refused for lack of rights, with their devices
};
