#pragma once
// The splash shown while the program starts: the picture, the days left to
// the wedding and the version. A typed key closes it.
#include <QWidget>

#include "platform/forms.h"

class QLabel;

class frmSplash : public QWidget, public platform::Form<frmSplash> {
  Q_OBJECT
 public:
  frmSplash();
  void Form_Load() override;

  QLabel* Image1 = nullptr;
  QLabel* lblWeddingCount = nullptr;
  QLabel* lblVersion = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
};
