// The about window: what it shows, opening it from the menu and the toolbar,
// its links and the system-information button; and the link routine.
#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "app/MWebLink.h"
#include "app/frmAbout.h"
#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/msgbox.h"
#include "platform/shell.h"
#include "support/drawntext.h"
#include "support/testsupport.h"

using namespace mdlWedding;
using testsupport::prompts;

namespace {
QStringList& shellRequests() { return platform::ShellRecorder::instance().requests; }
}  // namespace

class AboutTest : public QObject {
  Q_OBJECT
 private slots:
  void opensFromMenuAndToolbarAndShowsTheProgram() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    QString caption, version, title, description, web, mail;
    bool leftToRight = false, hasPictures = false;
    prompts().onModal([&](QWidget* shown) {
      auto* about = qobject_cast<frmAbout*>(shown);
      QVERIFY(about);
      caption = about->windowTitle();
      version = about->lblVersion->text();
      title = about->lblTitle->text();
      description = about->lblDescription->text();
      web = about->lblWeb->text();
      mail = about->lblMail->text();
      leftToRight = about->layoutDirection() == Qt::LeftToRight;
      // An English window reads left to right: "&System Info..." ends with its dots.
      const QImage button = testsupport::InkOf(about->cmdSysInfo);
      const QFont font = about->cmdSysInfo->font();
      leftToRight = leftToRight &&
                    testsupport::SameInk(button, testsupport::InkOfLine("&System Info...", font, Qt::LeftToRight)) &&
                    !testsupport::SameInk(button, testsupport::InkOfLine("&System Info...", font, Qt::RightToLeft));
      hasPictures = true;
      for (QLabel* pic : {about->imgLogo, about->Image4, about->imgHome, about->imgEmail})
        hasPictures = hasPictures && !pic->pixmap().isNull();
      QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    });
    w.mnuAboutProgram->trigger();
    testsupport::processEvents();
    QCOMPARE(caption, QStringLiteral("About Pelmora"));
    QCOMPARE(version, QStringLiteral("Version 2.9.13"));
    QCOMPARE(title, QStringLiteral("Pelmora"));
    QCOMPARE(description,
             QStringLiteral("Pelmora has been created to simplify the preparation stage of guest listing.") + g_NewLine +
                 QStringLiteral(" March 2001"));
    QCOMPARE(web, kMakerWebAddress);
    QCOMPARE(mail, kSupportMailAddress);
    QVERIFY(leftToRight);
    QVERIFY(hasPictures);
    QVERIFY(!frmAbout::IsLoaded());  // OK unloaded it

    prompts().clearShown();
    prompts().onModal([](QWidget* shown) { QTest::mouseClick(static_cast<frmAbout*>(shown)->cmdOK, Qt::LeftButton); });
    w.Toolbar1->Click(13);
    testsupport::processEvents();
    QCOMPARE(prompts().shown().size(), 1);
    QCOMPARE(prompts().shown()[0].kind, platform::Prompt::Modal);
    QCOMPARE(prompts().shown()[0].text, QStringLiteral("frmAbout"));
    QVERIFY(!frmAbout::IsLoaded());
  }

  void linksGoToTheDesktop() {
    testsupport::ProgramFolder folder;
    frmAbout& about = frmAbout::Default();
    about.show();
    QTest::mouseClick(about.lblWeb, Qt::LeftButton);
    QTest::mouseClick(about.lblMail, Qt::LeftButton);
    QCOMPARE(shellRequests(), QStringList({"http://" + kMakerWebAddress, "mailto:" + kSupportMailAddress}));

    shellRequests().clear();
    about.lblWeb->setText(QStringLiteral("http://site.example/a"));
    QTest::mouseClick(about.lblWeb, Qt::LeftButton);
    about.lblWeb->setText(QStringLiteral("HTTP://site.example/b"));
    QTest::mouseClick(about.lblWeb, Qt::LeftButton);
    about.lblWeb->setText(QStringLiteral("http:/site.example/c"));
    QTest::mouseClick(about.lblWeb, Qt::LeftButton);
    QCOMPARE(shellRequests(), QStringList({"http://site.example/a", "http://HTTP://site.example/b",
                                           "http://http:/site.example/c"}));
    QVERIFY(prompts().shown().isEmpty());

    // The result says whether the desktop took it; another kind is passed as given.
    shellRequests().clear();
    QCOMPARE(MWebLink::OpenWebLink(QStringLiteral("x@y.example"), 1), 1);
    QCOMPARE(MWebLink::OpenWebLink(QStringLiteral("file.txt"), 2), 1);
    platform::ShellRecorder::instance().activate(false);
    QCOMPARE(MWebLink::OpenWebLink(QStringLiteral("site.example"), 0), 0);
    QCOMPARE(shellRequests(), QStringList({"http://site.example"}));
  }

  void systemInformationIsUnavailable() {
    testsupport::ProgramFolder folder;
    frmAbout& about = frmAbout::Default();
    QString value = QStringLiteral("left over");
    QVERIFY(!about.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                               QStringLiteral("PATH"), value));
    QCOMPARE(value, QString());

    prompts().answer(platform::vbOK);
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QCOMPARE(prompts().messages(), QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));
    QCOMPARE(prompts().shown().last().title, QStringLiteral("Pelmora"));
    QVERIFY(shellRequests().isEmpty());
    QVERIFY(frmAbout::IsLoaded());  // the window stays open
  }
};

PELMORA_TEST(AboutTest)
#include "tst_about.moc"
