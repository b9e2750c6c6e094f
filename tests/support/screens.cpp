#include "screens.h"

#include "files.h"

#include <QDebug>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace testsupport {

void addScreenRows(std::initializer_list<TestScreen> screens) {
  QTest::addColumn<TestScreen>("screen");
  for (const TestScreen& s : screens)
    QTest::addRow("%dx%d at %d%%", s.width, s.height, s.percent) << s;
}

void runOnScreen(const QObject* test, const TestScreen& screen) {
  QTemporaryDir dir;
  // Qt makes a screen of more than 96 logical dots per inch a scaled one.
  const QString config = dir.filePath(QStringLiteral("screen.json"));
  writeFile(config, QStringLiteral(R"({"screens":[{"name":"laptop","x":0,"y":0,"width":%1,"height":%2,"logicalDpi":%3}]})")
                        .arg(screen.width)
                        .arg(screen.height)
                        .arg(96.0 * screen.percent / 100.0)
                        .toUtf8());
  if (QTest::currentTestFailed()) return;

  QMap<QString, QString> env{{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config}};
  for (const char* scale : {"QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING"})
    env.insert(QString::fromLatin1(scale), QString());  // removed
  const ChildTestResult child = rerunInChild(test->metaObject()->className(), env);
  if (child.passed) return;
  qWarning().noquote() << child.output;
  QTest::qFail("the test failed on its screen", __FILE__, __LINE__);
}

QRect framePixels(const QWidget* window) {
  // Position and size are scaled each on its own, as the platform does.
  const qreal f = window->screen()->devicePixelRatio();
  const QRect frame = window->frameGeometry();
  return QRect(qRound(frame.x() * f), qRound(frame.y() * f), qRound(frame.width() * f), qRound(frame.height() * f));
}

bool frameOnScreen(const QWidget* window, const TestScreen& screen) {
  return QRect(0, 0, screen.width, screen.height).contains(framePixels(window));
}

bool wholeInWindow(const QWidget* control) {
  QRect seen(QPoint(0, 0), control->size());
  for (const QWidget* w = control; !w->isWindow(); w = w->parentWidget()) {
    seen.translate(w->pos());
    seen &= w->parentWidget()->rect();
  }
  return seen.size() == control->size() && control->isVisible();
}

}  // namespace testsupport
