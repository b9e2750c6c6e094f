#include "cupsserver.h"

#include <cups/cups.h>
#include <signal.h>
#include <sys/prctl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QDebug>

#include "files.h"
#include "platform/msgbox.h"
#include "platform/printer.h"

namespace testsupport {
namespace {

const char* const kServerBin[] = {"filter", "daemon", "cgi-bin", "notifier", "monitor", "driver"};

bool store(const QString& name, const QByteArray& text, QFile::Permissions mode = {}) {
  QFile f(name);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) return false;
  f.close();
  return mode == QFile::Permissions() || f.setPermissions(mode);
}

// Writes each job's document and what it was sent with (title, copies,
// options) under the folder its device URI names.
const QByteArray kBackend = R"sh(#!/bin/sh
if [ $# -eq 0 ]; then echo 'file capture "Unknown" "Test capture"'; exit 0; fi
out="${DEVICE_URI#capture:}/job-$(printf %05d "$1")"
printf '%s\n%s\n%s\n' "$3" "$4" "$5" > "$out.args" || exit 1
if [ -n "$6" ]; then cat "$6" > "$out.tmp"; else cat > "$out.tmp"; fi || exit 1
mv "$out.tmp" "$out.pdf"
)sh";

// A printer that takes PDF as it is, with two papers.
QByteArray ppd(const QString& paper) {
  QByteArray text = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "CAPTURE.PPD"
*Manufacturer: "Test"
*Product: "(Capture)"
*ModelName: "Test Capture"
*ShortNickName: "Test Capture"
*NickName: "Test Capture"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*cupsFilter2: "application/pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: PAPER
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: PAPER
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: PAPER
*ImageableArea Letter/US Letter: "0 0 612 792"
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: PAPER
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension A4/A4: "595 842"
)ppd";
  return text.replace("PAPER", paper.toLatin1());
}

}  // namespace

CupsServer::CupsServer() {
  // The scheduler goes with the test program, whatever ends it.
  cupsd_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
  cupsd_.setProcessChannelMode(QProcess::MergedChannels);
}

CupsServer::~CupsServer() { stop(); }

QString CupsServer::missing() {
  for (const char* tool : {"cupsd", "lpadmin", "cupsreject", "lpstat"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/sbin", "/usr/bin", "/sbin"}).isEmpty())
      return QStringLiteral("%1 is not installed (scripts/install-deps.sh installs CUPS)").arg(QLatin1String(tool));
  return QString();
}

bool CupsServer::start(QString* why) {
  auto fail = [&](const QString& reason) {
    *why = reason;
    stop();
    return false;
  };
  if (!dir_.isValid()) return fail(QStringLiteral("no temporary folder"));
  QDir root(dir_.path());
  for (const char* sub : {"conf", "spool/tmp", "cache", "state", "log", "bin/backend", "out", "ppd"})
    root.mkpath(QString::fromLatin1(sub));
  for (const char* d : kServerBin)
    QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(d), path(QStringLiteral("bin/") + QLatin1String(d)));
  // Mode 0700: the scheduler runs such a backend as root, with the spool's files readable.
  if (!store(path("bin/backend/capture"), kBackend, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
    return fail(QStringLiteral("cannot write the backend"));
  const QByteArray socket = path("cups.sock").toLocal8Bit();
  const QByteArray conf = "Listen " + socket + "\nLogLevel info\nWebInterface No\nBrowsing No\n"
                          "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                          "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                          "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
  const QByteArray files = "ServerRoot " + path("conf").toLocal8Bit() + "\nRequestRoot " +
                           path("spool").toLocal8Bit() + "\nTempDir " + path("spool/tmp").toLocal8Bit() +
                           "\nCacheDir " + path("cache").toLocal8Bit() + "\nStateDir " +
                           path("state").toLocal8Bit() + "\nServerBin " + path("bin").toLocal8Bit() +
                           "\nDataDir /usr/share/cups\nErrorLog " + path("log/error_log").toLocal8Bit() +
                           "\nAccessLog " + path("log/access_log").toLocal8Bit() + "\nPageLog " +
                           path("log/page_log").toLocal8Bit() + "\nSystemGroup root\n";
  if (!store(path("conf/cupsd.conf"), conf) || !store(path("conf/cups-files.conf"), files))
    return fail(QStringLiteral("cannot write the configuration"));

  cupsd_.start(QStringLiteral("cupsd"), {"-f", "-c", path("conf/cupsd.conf"), "-s", path("conf/cups-files.conf")});
  if (!cupsd_.waitForStarted()) return fail(QStringLiteral("cupsd did not start"));
  oldServer_ = qgetenv("CUPS_SERVER");
  qputenv("CUPS_SERVER", socket);
  // The default printer is the scheduler's, not one a variable names.
  qunsetenv("LPDEST");
  qunsetenv("PRINTER");
  cupsSetServer(socket.constData());
  // It either opens its socket or ends.
  while (!QFileInfo::exists(path("cups.sock")) && !cupsd_.waitForFinished(20)) {
  }
  if (cupsd_.state() != QProcess::Running)
    return fail(QStringLiteral("cupsd ended: ") + QString::fromLocal8Bit(cupsd_.readAll()));
  if (!command(QStringLiteral("lpstat"), {"-r"})) return fail(QStringLiteral("cupsd does not answer"));
  return true;
}

void CupsServer::stop() {
  if (cupsd_.state() != QProcess::NotRunning) {
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(30000)) {
      cupsd_.kill();
      cupsd_.waitForFinished();
    }
    if (oldServer_.isEmpty())
      qunsetenv("CUPS_SERVER");
    else
      qputenv("CUPS_SERVER", oldServer_);
    cupsSetServer(nullptr);
  }
}

bool CupsServer::command(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  const bool ok = p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (!ok) qWarning().noquote() << program << args.join(' ') << "failed:" << p.readAll();
  return ok;
}

bool CupsServer::addQueue(const QString& name, const QString& paper, bool makeDefault) {
  const QString file = path(QStringLiteral("ppd/%1.ppd").arg(name));
  if (!store(file, ppd(paper))) return false;
  if (!command(QStringLiteral("lpadmin"), {"-p", name, "-E", "-v", "capture:" + path("out"), "-P", file}))
    return false;
  return !makeDefault || command(QStringLiteral("lpadmin"), {"-d", name});
}

bool CupsServer::addQueues(std::initializer_list<Queue> queues) {
  for (const Queue& q : queues) {
    if (!addQueue(q.name, q.paper, q.isDefault)) return false;
    if (q.state == Queue::Refusing && !command(QStringLiteral("cupsreject"), {q.name})) return false;
    if (q.state == Queue::Paused && !command(QStringLiteral("cupsdisable"), {q.name})) return false;
  }
  return true;
}

int CupsServer::jobsQueued(const QString& queue) {
  QProcess p;
  p.start(QStringLiteral("lpstat"), {"-W", "all", "-o", queue});
  p.waitForFinished(-1);
  return QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size();
}

QVector<CupsServer::Job> CupsServer::printed() const {
  QVector<Job> jobs;
  QDir out(path("out"));
  for (const QString& pdf : out.entryList({"job-*.pdf"}, QDir::Files, QDir::Name)) {
    const QStringList args = QString::fromUtf8(readFile(out.filePath(QString(pdf).replace(".pdf", ".args")))).split('\n');
    jobs.append({args.value(0), args.value(1).toInt(), args.value(2), readFile(out.filePath(pdf))});
  }
  return jobs;
}

int CupsServer::Job::pages() const { return document.count("/Type /Page\n"); }

QString CupsServer::Job::mediaBox() const {
  static const QRegularExpression box(QStringLiteral(R"(/MediaBox \[([\d. ]+)\])"));
  const auto m = box.match(QString::fromLatin1(document));
  if (!m.hasMatch()) return QString();
  QStringList numbers;
  for (const QString& n : m.captured(1).split(' ', Qt::SkipEmptyParts)) numbers << QString::number(qRound(n.toDouble()));
  return QLatin1Char('[') + numbers.join(' ') + QLatin1Char(']');
}

QueueFolder::QueueFolder() { platform::PrintRecorder::instance().deactivate(); }

QStringList printTo(const QString& queue, const std::function<void()>& print) {
  auto& script = platform::PromptScript::instance();
  script.clearShown();
  script.answerDialog(queue);
  script.answer(platform::vbOK);
  print();
  return script.messages();
}

}  // namespace testsupport
