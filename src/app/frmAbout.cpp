#include "frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/MWebLink.h"
#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "platform/msgbox.h"
#include "platform/shell.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "resources/pictures.h"

namespace {

const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoValue = QStringLiteral("PATH");
const QString kSysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSysInfoLocationValue = QStringLiteral("MSINFO");

QRect twipsRect(int left, int top, int width, int height) {
  return QRect(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), vb::TwipsToPixelsX(width),
               vb::TwipsToPixelsY(height));
}

QLabel* picture(QWidget* parent, const QPixmap& pm, int left, int top) {
  auto* l = new QLabel(parent);
  l->setPixmap(pm);
  l->setGeometry(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), pm.width(), pm.height());
  return l;
}

QLabel* link(QWidget* parent, QRect at) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);  // the caption is the address itself
  QFont f = l->font();
  f.setUnderline(true);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
  l->setPalette(pal);
  l->setCursor(Qt::PointingHandCursor);
  l->setGeometry(at);
  return l;
}

}  // namespace

frmAbout::frmAbout() : QDialog(nullptr) {
  setLayoutDirection(Qt::LeftToRight);  // an English window
  setModal(true);
  setFixedSize(vb::TwipsToPixelsX(6585), vb::TwipsToPixelsY(3780));

  imgLogo = picture(this, resources::AboutLogoPicture(), 240, 240);
  Image4 = picture(this, resources::AboutEmblemPicture(), 4920, 240);

  lblTitle = new QLabel(this);
  QFont titleFont(QStringLiteral("Arial"), 18, QFont::Bold);
  lblTitle->setFont(titleFont);
  lblTitle->setGeometry(twipsRect(1440, 240, 3360, 480));

  lblVersion = new QLabel(this);
  lblVersion->setGeometry(twipsRect(1440, 780, 3360, 255));

  lblDescription = new QLabel(this);
  lblDescription->setWordWrap(true);
  lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDescription->setGeometry(twipsRect(1440, 1125, 3360, 1035));

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(twipsRect(240, 2280, 6105, 30));

  imgHome = picture(this, resources::HomeIcon(), 240, 2580);
  lblWeb = link(this, twipsRect(600, 2565, 3600, 285));
  lblWeb->setText(mdlWedding::kMakerWebAddress);
  imgEmail = picture(this, resources::MailIcon(), 240, 3030);
  lblMail = link(this, twipsRect(600, 3015, 3600, 285));
  lblMail->setText(mdlWedding::kSupportMailAddress);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setGeometry(twipsRect(4920, 2460, 1425, 375));
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
  cmdSysInfo->setGeometry(twipsRect(4920, 2940, 1425, 375));

  lblWeb->installEventFilter(this);
  lblMail->installEventFilter(this);
  auto on = [this](QPushButton* b, void (frmAbout::*handler)()) {
    connect(b, &QPushButton::clicked, this, [this, handler] { platform::RunHandler([&] { (this->*handler)(); }); });
  };
  on(cmdOK, &frmAbout::cmdOK_Click);
  on(cmdSysInfo, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load() {
  setWindowTitle(QStringLiteral("About ") + platform::AppTitle());
  lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                          .arg(PELMORA_VERSION_MAJOR)
                          .arg(PELMORA_VERSION_MINOR)
                          .arg(PELMORA_VERSION_PATCH));
  lblTitle->setText(platform::AppTitle());
  lblDescription->setText(
      QStringLiteral("Pelmora has been created to simplify the preparation stage of guest listing.") +
      mdlWedding::g_NewLine + QStringLiteral(" March 2001"));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == lblWeb) platform::RunHandler([this] { lblWeb_Click(); });
    if (watched == lblMail) platform::RunHandler([this] { lblMail_Click(); });
  }
  return QDialog::eventFilter(watched, event);
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::lblWeb_Click() { MWebLink::OpenWebLink(lblWeb->text(), 0); }

void frmAbout::lblMail_Click() { MWebLink::OpenWebLink(lblMail->text(), 1); }

void frmAbout::StartSysInfo() {
  platform::ErrorState err;
  bool started = false;
  err([&] {
    QString path;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, kSysInfoKey, kSysInfoValue, path)) {
      if (!GetKeyValue(HKEY_LOCAL_MACHINE, kSysInfoLocationKey, kSysInfoLocationValue, path)) return;
      path += QStringLiteral("\\MSINFO32.EXE");
      if (!mdlWedding::FileExists(path)) return;
    }
    started = platform::StartProgram(path);
  });
  if (!started || err.failed())
    platform::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), platform::vbOKOnly);
}

// This platform has no registry of the machine, so no value can be read: the
// system-information tool is reported unavailable.
bool frmAbout::GetKeyValue(qint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal) {
  Q_UNUSED(KeyRoot);
  Q_UNUSED(KeyName);
  Q_UNUSED(SubKeyRef);
  KeyVal.clear();
  return false;
}
