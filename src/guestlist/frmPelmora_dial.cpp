// The main window's dial command: hands the selected guest's phone number to
// the dialer, or refuses while a call is in progress.
#include "app/mdlWedding.h"
#include "dialer/frmDialer.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"

#include <QLineEdit>

using namespace mdlWedding;

void frmPelmora::DialNum() {
  platform::ErrorState err;
  g_DialNumber.clear();
  err([&] { MSFlexGrid1->SetCol(2); });
  err([&] { g_DialNumber = vb::Trim(MSFlexGrid1->Text()); });
  if (g_DialNumber.isEmpty()) return;

  if (g_PortFree) {
    g_AutoDial = true;
    err([&] {
      frmDialer& dialer = frmDialer::Default();
      dialer.txtNumber->setText(g_DialNumber);
      // Shown modeless and made active: its activation dials.
      dialer.show();
      dialer.raise();
      dialer.activateWindow();
    });
    return;
  }
  err([&] {
    platform::MsgBox(QStringLiteral("Port is all-ready in use [") + frmDialer::Default().txtNumber->text() +
                         QLatin1Char(']'),
                     platform::vbOKOnly, QStringLiteral("Warning..."));
  });
}
