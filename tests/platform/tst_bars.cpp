// The toolbar and status bar stand-ins: buttons and panels by index from 1.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "platform/statusbar.h"
#include "platform/toolbar.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "support/errors.h"
#include "support/testsupport.h"

using platform::StatusBar;
using platform::Toolbar;
using testsupport::errorNumber;

class BarsTest : public QObject {
  Q_OBJECT
 private slots:
  void toolbarButtons();
  void toolbarClicks();
  void keyboardPressesButtons();
  void statusBarPanels();
};

void BarsTest::toolbarButtons() {
  Toolbar tb;
  QCOMPARE(tb.toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  QCOMPARE(tb.AddButton(QStringLiteral("הוסף")), 1);
  QCOMPARE(tb.AddButton(QStringLiteral("עדכן")), 2);
  QCOMPARE(tb.AddButton(QStringLiteral("הסר")), 3);
  QCOMPARE(tb.AddButton(QString(), QIcon(), Toolbar::tbrSeparator), 4);
  QCOMPARE(tb.AddButton(QStringLiteral("חייג")), 5);
  QCOMPARE(tb.AddButton(QStringLiteral("שולחנות"), QIcon(), Toolbar::tbrCheck), 6);
  QCOMPARE(tb.Count(), 6);
  QVERIFY(tb.Button(4)->isSeparator());
  QCOMPARE(tb.Button(5)->text(), QStringLiteral("חייג"));
  QCOMPARE(tb.actions().indexOf(tb.Button(5)), 4);  // in the order added
  QCOMPARE(errorNumber([&] { tb.Button(0); }), 35600L);
  QCOMPARE(errorNumber([&] { tb.Button(7); }), 35600L);
  QCOMPARE(errorNumber([&] { tb.SetEnabled(9, false); }), 35600L);

  // Pressed state by code: shown by the check button, no click event.
  QSignalSpy spy(&tb, &Toolbar::ButtonClick);
  tb.SetPressed(6, true);
  QVERIFY(tb.IsPressed(6));
  QVERIFY(tb.Button(6)->isChecked());
  tb.SetPressed(6, false);
  QVERIFY(!tb.IsPressed(6));
  QCOMPARE(spy.size(), 0);
}

void BarsTest::toolbarClicks() {
  Toolbar tb;
  for (int i = 1; i <= 14; ++i)
    tb.AddButton(QStringLiteral("b%1").arg(i), QIcon(), i == 4 || i == 11 ? Toolbar::tbrSeparator
                                                       : i == 10            ? Toolbar::tbrCheck
                                                                            : Toolbar::tbrDefault);
  tb.resize(1200, 80);
  tb.show();
  QVERIFY(QTest::qWaitForWindowExposed(&tb));
  QSignalSpy spy(&tb, &Toolbar::ButtonClick);

  // A check button toggles, then reports the click; the handler sees the new state.
  bool pressedInHandler = false;
  connect(&tb, &Toolbar::ButtonClick, &tb, [&](int i) {
    if (i == 10) pressedInHandler = tb.IsPressed(10);
  });
  tb.Click(10);
  QCOMPARE(spy.size(), 1);
  QCOMPARE(spy[0][0].toInt(), 10);
  QVERIFY(tb.IsPressed(10));
  QVERIFY(pressedInHandler);
  tb.Click(10);
  QCOMPARE(spy.size(), 2);
  QVERIFY(!tb.IsPressed(10));
  QVERIFY(!pressedInHandler);

  // Plain buttons do not stay pressed; separators and disabled buttons are silent.
  tb.Click(2);
  QCOMPARE(spy.size(), 3);
  QCOMPARE(spy[2][0].toInt(), 2);
  QVERIFY(!tb.IsPressed(2));
  tb.Click(4);
  tb.SetEnabled(5, false);
  QVERIFY(!tb.IsEnabled(5));
  tb.Click(5);
  QCOMPARE(spy.size(), 3);

  // A real mouse click on a button reports it once; on a disabled one not at all.
  QWidget* b7 = tb.widgetForAction(tb.Button(7));
  QVERIFY(b7);
  QTest::mouseClick(b7, Qt::LeftButton);
  QCOMPARE(spy.size(), 4);
  QCOMPARE(spy[3][0].toInt(), 7);
  QTest::mouseClick(tb.widgetForAction(tb.Button(5)), Qt::LeftButton);
  QCOMPARE(spy.size(), 4);
  QTest::mouseClick(tb.widgetForAction(tb.Button(10)), Qt::LeftButton);
  QCOMPARE(spy.size(), 5);
  QVERIFY(tb.IsPressed(10));
  auto* button = qobject_cast<QToolButton*>(tb.widgetForAction(tb.Button(12)));
  QVERIFY(button);
  QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  tb.Refresh();
}

// The toolbar's buttons are the last stops of the Tab order; Enter or Space presses
// the focused button, a toolbar's or any other; Enter in a box presses the
// window's default button, and nothing where there is none.
void BarsTest::keyboardPressesButtons() {
  QWidget window;
  auto* box = new QVBoxLayout(&window);
  auto* tb = new Toolbar;
  tb->AddButton(QStringLiteral("a"));
  tb->AddButton(QString(), QIcon(), Toolbar::tbrSeparator);
  tb->AddButton(QStringLiteral("b"));
  tb->AddButton(QStringLiteral("c"), QIcon(), Toolbar::tbrCheck);
  tb->SetEnabled(3, false);
  auto* edit = new QLineEdit;
  auto* button = new QPushButton(QStringLiteral("press"));
  for (QWidget* w : {static_cast<QWidget*>(tb), static_cast<QWidget*>(edit), static_cast<QWidget*>(button)})
    box->addWidget(w);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QSignalSpy clicks(tb, &Toolbar::ButtonClick), presses(button, &QPushButton::clicked);

  // The window opens on its own first control; the toolbar ends the order.
  QCOMPARE(QApplication::focusWidget(), edit);
  QTest::keyClick(edit, Qt::Key_Return);  // no default button: nothing pressed
  QCOMPARE(presses.size(), 0);
  QTest::keyClick(edit, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), button);
  QTest::keyClick(button, Qt::Key_Return);
  QTest::keyClick(button, Qt::Key_Enter);
  QCOMPARE(presses.size(), 2);
  QTest::keyClick(button, Qt::Key_Tab);  // on round to the toolbar; the disabled button is passed
  QCOMPARE(QApplication::focusWidget(), tb->widgetForAction(tb->Button(1)));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), tb->widgetForAction(tb->Button(4)));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  QCOMPARE(clicks.size(), 2);
  QCOMPARE(clicks[0][0].toInt(), 1);
  QCOMPARE(clicks[1][0].toInt(), 4);
  QVERIFY(tb->IsPressed(4));
  QCOMPARE(presses.size(), 2);

  // The default button takes an Enter that the box leaves.
  button->setDefault(true);
  edit->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(presses.size(), 3);
  QCOMPARE(clicks.size(), 2);
}

void BarsTest::statusBarPanels() {
  StatusBar sb;
  const int widths[] = {800, 1400, 2200, 1900, 1900, 1600, 400};
  for (int i = 1; i <= 7; ++i) QCOMPARE(sb.AddPanel(), i);
  QCOMPARE(sb.PanelCount(), 7);
  for (int i = 1; i <= 7; ++i) sb.SetPanelWidth(i, widths[i - 1]);
  for (int i = 2; i <= 6; ++i) sb.SetPanelAlignment(i, StatusBar::sbrRight);
  sb.SetPanelAlignment(7, StatusBar::sbrCenter);
  sb.SetPanelText(1, QStringLiteral("01/02/2024"));
  sb.SetPanelText(6, QStringLiteral("מס' ההזמנות  12"));
  QPixmap pic(16, 16);
  pic.fill(Qt::red);
  sb.SetPanelPicture(7, pic);
  sb.SetPanelToolTip(7, QStringLiteral("לחץ פעמיים לעדכון פרטי משתמש"));
  sb.setLayoutDirection(Qt::RightToLeft);
  sb.resize(2000, 30);
  sb.show();
  QVERIFY(QTest::qWaitForWindowExposed(&sb));

  for (int i = 1; i <= 7; ++i) {
    QCOMPARE(sb.PanelWidth(i), widths[i - 1]);
    // A panel whose text is wider than its width grows to show it whole.
    const QLabel* label = sb.PanelLabel(i);
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
    QCOMPARE(label->width(), qMax(vb::TwipsToPixelsX(widths[i - 1]), label->text().isEmpty() ? 0 : textWidth + 8));
    QVERIFY(label->width() >= textWidth);
  }
  QCOMPARE(sb.PanelText(6), QStringLiteral("מס' ההזמנות  12"));
  QCOMPARE(sb.PanelText(7), QString());
  // Right means the right edge, whatever the layout direction.
  QVERIFY(sb.PanelLabel(3)->alignment() & Qt::AlignRight);
  QVERIFY(sb.PanelLabel(3)->alignment() & Qt::AlignAbsolute);
  QVERIFY(!sb.PanelLabel(7)->pixmap().isNull());
  QCOMPARE(sb.PanelLabel(7)->toolTip(), QStringLiteral("לחץ פעמיים לעדכון פרטי משתמש"));
  // Right to left: panel 1 stands right of panel 2, and so on.
  for (int i = 1; i < 7; ++i) QVERIFY(sb.PanelLabel(i)->x() > sb.PanelLabel(i + 1)->x());
  QCOMPARE(errorNumber([&] { sb.PanelLabel(0); }), 35600L);
  QCOMPARE(errorNumber([&] { sb.SetPanelText(8, QString()); }), 35600L);

  QSignalSpy spy(&sb, &StatusBar::PanelDblClick);
  QTest::mouseDClick(sb.PanelLabel(7), Qt::LeftButton);
  QTest::mouseDClick(sb.PanelLabel(2), Qt::LeftButton);
  QTest::mouseClick(sb.PanelLabel(3), Qt::LeftButton);
  QCOMPARE(spy.size(), 2);
  QCOMPARE(spy[0][0].toInt(), 7);
  QCOMPARE(spy[1][0].toInt(), 2);
}

PELMORA_TEST(BarsTest)
#include "tst_bars.moc"
