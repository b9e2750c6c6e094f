#include "frmSplash.h"

#include <QKeyEvent>
#include <QLabel>

#include "platform/forms.h"
#include "platform/vb.h"
#include "resources/pictures.h"

namespace {
QRect twipsRect(int left, int top, int width, int height) {
  return QRect(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), vb::TwipsToPixelsX(width),
               vb::TwipsToPixelsY(height));
}
}  // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  const QPixmap picture = resources::SplashPicture();
  setFixedSize(picture.size());
  Image1 = new QLabel(this);
  Image1->setPixmap(picture);
  Image1->setGeometry(0, 0, picture.width(), picture.height());

  lblWeddingCount = new QLabel(this);
  QFont f(QStringLiteral("Arial"), 12, QFont::Bold);
  lblWeddingCount->setFont(f);
  QPalette pal = lblWeddingCount->palette();
  pal.setColor(QPalette::WindowText, vb::OleColor(0x800000));
  lblWeddingCount->setPalette(pal);
  lblWeddingCount->setAlignment(Qt::AlignCenter);
  lblWeddingCount->setGeometry(twipsRect(1560, 120, 8295, 375));

  lblVersion = new QLabel(this);
  lblVersion->setLayoutDirection(Qt::LeftToRight);
  lblVersion->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  lblVersion->setGeometry(twipsRect(7560, 3480, 2295, 255));
  setFocusPolicy(Qt::StrongFocus);
  platform::CentreOnScreen(this);
}

void frmSplash::Form_Load() {
  lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                          .arg(PELMORA_VERSION_MAJOR)
                          .arg(PELMORA_VERSION_MINOR)
                          .arg(PELMORA_VERSION_PATCH));
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
  if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
    Unload();
    return;
  }
  QWidget::keyPressEvent(event);
}
