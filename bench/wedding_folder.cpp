#include "wedding_folder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <random>
#include <stdexcept>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/dao.h"
#include "platform/dao_internal.h"
#include "platform/forms.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/vb.h"
#include "platform/vberror.h"

namespace bench {
namespace {

const QStringList kFamilies = {
    "כהן", "לוי", "מזרחי", "פרץ", "ביטון", "דהן", "אברהם", "פרידמן", "אזולאי", "מלכה", "כץ", "יוסף",
    "דוד", "עמר", "אוחיון", "חדד", "גבאי", "בן דוד", "שפירא", "אשכנזי", "רוזנברג", "גולדשטיין",
    "שמעוני", "אלון", "ברק", "גל", "שושן", "חזן", "סויסה", "וקנין", "נחום", "עזרא", "טל", "רבינוביץ",
    "קליין", "זילברמן", "בכר", "סעדה", "ששון", "אלמוג", "הררי", "גרינברג", "ויס", "לנדאו", "קרמר",
    "בירנבאום", "שטרן", "זכאי", "עטיה", "בן חמו", "אדרי", "מימון", "טולדנו", "אלבז", "בוזגלו", "קורן",
    "הורוביץ", "ליבוביץ", "שלום", "נגר", "חורי", "סלאמה", "אבוטבול", "דאהר", "גרוס", "פישר"};
const QStringList kMen = {"משה", "דוד", "יוסי", "אבי", "יעקב", "אברהם", "חיים", "שמעון", "אליהו", "יצחק",
                          "מיכאל", "דניאל", "רון", "איתי", "עומר", "נועם", "אריאל", "אורי", "גיל", "שי",
                          "עידו", "תומר", "יונתן", "אלון", "רפאל", "עמית", "ניר", "אסף", "ערן", "רועי"};
const QStringList kWomen = {"שרה", "רחל", "מרים", "אסתר", "יעל", "מיכל", "נועה", "שירה", "תמר", "רונית",
                            "אורית", "דנה", "ליאת", "הילה", "ענבל", "קרן", "סיגל", "אילנה", "חנה", "רבקה",
                            "לאה", "אפרת", "מאיה", "נטע", "טליה", "עדי", "רותם", "שני", "גלית", "ורד"};
const QStringList kStreets = {"הרצל", "ויצמן", "בן גוריון", "רוטשילד", "הנביאים", "ז'בוטינסקי", "הגפן",
                              "האלון", "הדקל", "סוקולוב", "ביאליק", "אחד העם", "המכבים", "הזית", "התאנה"};
const QStringList kCities = {"תל אביב", "ירושלים", "חיפה", "ראשון לציון", "פתח תקווה", "אשדוד", "נתניה",
                             "באר שבע", "חולון", "רמת גן", "רחובות", "אשקלון", "כפר סבא", "מודיעין",
                             "הרצליה", "קריית שמונה", "עפולה", "אילת"};
const QStringList kRemarks = {"חברים מהעבודה", "שכנים", "חברים מהצבא", "בני דודים", "צד הכלה", "צד החתן",
                              "להזכיר בטלפון שבוע לפני", "מגיעים מחו\"ל", "צמחוניים", "עם תינוק"};
const QStringList kGifts = {"סט כוסות יין", "מגהץ אדים", "שובר לחופשה", "מערכת סכו\"ם", "מיקסר",
                            "תמונה ממוסגרת", "שמיכת פוך", "מכונת קפה"};
const QStringList kPrefixes = {"050", "052", "053", "054", "055", "058"};
const QStringList kAreaCodes = {"02", "03", "04", "08", "09"};

QString pick(const QStringList& list, std::mt19937& rng) {
  return list[std::uniform_int_distribution<int>(0, int(list.size()) - 1)(rng)];
}

QString digits(int n, std::mt19937& rng) {
  QString s;
  for (int i = 0; i < n; ++i) s += QChar('0' + std::uniform_int_distribution<int>(0, 9)(rng));
  return s;
}

QString firstNames(int guests, std::mt19937& rng, std::uniform_real_distribution<double>& unit) {
  if (guests == 1) return unit(rng) < 0.5 ? pick(kMen, rng) : pick(kWomen, rng);
  const QString couple = pick(kMen, rng) + " ו" + pick(kWomen, rng);
  if (guests == 2) return couple;
  const QString family = couple + " והילדים";
  return family.size() <= 20 ? family : couple;  // FIRST_NAME holds 20 characters
}

void checkSqlite(sqlite3* db, int rc, const char* what) {
  if (rc != SQLITE_OK) throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

}  // namespace

QVector<testsupport::Invitation> MakeInvitations(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::discrete_distribution<int> guestsDist({0, 25, 40, 15, 12, 8});  // 1..5 guests
  std::discrete_distribution<int> confirmDist({35, 40, 10, 15});       // 0..3
  QVector<int> seated(kMaxTables + 1, 0);

  QVector<testsupport::Invitation> rows;
  rows.reserve(count);
  for (int n = 0; n < count; ++n) {
    testsupport::Invitation inv;
    const int guests = guestsDist(rng);
    inv.familyName = pick(kFamilies, rng);
    inv.firstName = firstNames(guests, rng, unit);
    inv.invNum = guests;
    inv.confirm = confirmDist(rng);
    inv.listGroup = QString::number(std::uniform_int_distribution<int>(1, 3)(rng));
    inv.check = 0;
    inv.invStatus = unit(rng) < 0.8;

    const double p = unit(rng);
    QString phones;
    if (p < 0.6) phones = pick(kPrefixes, rng) + "-" + digits(7, rng);
    else if (p < 0.9) phones = pick(kPrefixes, rng) + "-" + digits(7, rng) + ", " + pick(kAreaCodes, rng) + "-" + digits(7, rng);
    inv.phones = phones;  // some have none: an empty text
    inv.remark = unit(rng) < 0.3 ? pick(kRemarks, rng) : QString("");
    inv.address = unit(rng) < 0.75
                      ? pick(kStreets, rng) + " " + QString::number(std::uniform_int_distribution<int>(1, 120)(rng)) +
                            ", " + pick(kCities, rng)
                      : QString("");

    const double g = unit(rng);
    if (g < 0.35) {  // money
      inv.presentType = 0;
      inv.present = QString::number(50 * std::uniform_int_distribution<int>(4, 30)(rng));
    } else if (g < 0.55) {  // cheque
      inv.presentType = 1;
      inv.present = QString::number(50 * std::uniform_int_distribution<int>(4, 30)(rng));
    } else if (g < 0.7) {  // something else, described
      inv.presentType = 2;
      inv.present = pick(kGifts, rng);
    } else {  // nothing yet
      inv.presentType = 0;
      inv.present = QString("");
    }

    if (unit(rng) < 0.7) {
      for (int attempt = 0; attempt < 8; ++attempt) {
        const int t = std::uniform_int_distribution<int>(1, kMaxTables)(rng);
        if (seated[t] + guests <= kMaxChairs) {
          seated[t] += guests;
          inv.tableNo = t;
          break;
        }
      }
    }
    rows.append(inv);
  }
  return rows;
}

void WriteInvitations(const QVector<testsupport::Invitation>& rows, const QString& databaseFile) {
  auto db = dao::DBEngine::instance().OpenDatabase(databaseFile);
  sqlite3* handle = db->impl()->conn->db;
  // One commit for all rows instead of one per Update.
  checkSqlite(handle, sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr), "BEGIN");
  auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA"));
  for (const testsupport::Invitation& inv : rows) testsupport::writeInvitation(*rs, inv);
  rs->Close();
  checkSqlite(handle, sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr), "COMMIT");
  db->Close();
}

WeddingFolder::WeddingFolder(int invitations) : invitations_(invitations) {
  if (!dir_.isValid() || !settings_.isValid()) throw std::runtime_error("cannot create a temporary folder");
  QElapsedTimer timer;
  timer.start();
  CloseProgram();
  usePaths();
  const auto rows = MakeInvitations(invitations);
  for (const auto& inv : rows)
    if (inv.tableNo.isValid()) {
      ++seatedInvitations_;
      seatedPeople_ += inv.invNum.toInt();
    }
  testsupport::makeWeddingDb();
  WriteInvitations(rows, mdlWedding::DatabaseFile());
  testsupport::writeOptions(kMaxTables, kMaxChairs);
  buildMs_ = double(timer.nsecsElapsed()) / 1e6;
}

void WeddingFolder::usePaths() {
  QDir::setCurrent(dir_.path());
  platform::SetSettingsRoot(settings_.path());
  QString p = dir_.path();
  if (!p.endsWith('/')) p += '/';
  mdlWedding::g_AppPath = p;
}

double WeddingFolder::enter() {
  CloseProgram();
  mdlWedding::ResetState();
  platform::ResetProgramEnd();
  usePaths();
  auto& script = platform::PromptScript::instance();
  script.activate();  // nothing scripted: any prompt is reported by the benchmark
  platform::ShellRecorder::instance().activate();

  QElapsedTimer timer;
  timer.start();
  frmPelmora& main = frmPelmora::Default();
  const double ms = double(timer.nsecsElapsed()) / 1e6;
  main.show();  // as start-up leaves it
  QCoreApplication::processEvents();
  return ms;
}

void CloseProgram() {
  platform::Forms::DestroyAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  mdlWedding::g_DB.SetNothing();
  mdlWedding::g_RS.SetNothing();
}

QString PromptsShown() {
  QStringList lines;
  for (const platform::Prompt& p : platform::PromptScript::instance().shown())
    lines << (p.text + " [" + p.title + "]");
  return lines.join(QStringLiteral("; "));
}

void ClearPrompts() { platform::PromptScript::instance().clearShown(); }

namespace {
double statusMB(const char* key) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray prefix = QByteArray(key) + ':';
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(prefix)) return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return -1;
}
}  // namespace

double PeakResidentMB() { return statusMB("VmHWM"); }
double ResidentMB() { return statusMB("VmRSS"); }

}  // namespace bench
