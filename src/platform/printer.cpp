// The printer object on QPrinter + QPainter. A document is drawn in twips: the
// painter's transform maps one unit to one twip from the printable area's top
// left. Fonts are sized in twips as well (pixel size = points * 20), so text
// measures the same whether or not a real printer is behind it.
#include "printer.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QWidget>
#include <functional>
#include <memory>

#include "cupsjob.h"
#include "msgbox.h"
#include "vb.h"
#include "vberror.h"

namespace platform {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;

QFont twipFont(const QString& name, double size, bool bold) {
  QFont f(name);
  f.setPixelSize(qMax(1, qRound(size * kTwipsPerPoint)));
  f.setBold(bold);
  return f;
}

[[noreturn]] void printerError() { Raise(482, QStringLiteral("Printer error")); }

// One document on its way out: recorded (tests), drawn into a PDF (tests that
// ask for one) or drawn on the real printer. Drawing starts at the first item.
// A printer that cannot start, or a job the printing system refuses, fails the
// document when it ends.
class Canvas {
 public:
  ~Canvas() { abandon(); }

  // Begins the document if it has not begun; realPrinter is asked for only
  // when nothing is being recorded.
  QPainter* begin(const QString& name, const std::function<QPrinter*()>& realPrinter) {
    if (!started_) {
      started_ = true;
      failed_ = false;
      page_ = 1;
      doc_ = PrintedDocument{};
      doc_.name = name;
      auto& rec = PrintRecorder::instance();
      QPrinter* target = nullptr;
      if (rec.active()) {
        if (!rec.pdfFolder().isEmpty()) {
          pdf_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
          pdf_->setOutputFormat(QPrinter::PdfFormat);
          pdf_->setOutputFileName(rec.nextPdfFile(name));
          pdf_->setDocName(name);
          target = pdf_.get();
        }
      } else {
        target = realPrinter();
        target->setDocName(name);
      }
      if (target) {
        if (!painter_.begin(target)) {
          pdf_.reset();
          failed_ = true;
          printerError();
        }
        printer_ = target;
        const double scale = target->resolution() / kTwipsPerInch;
        painter_.scale(scale, scale);
        painter_.setLayoutDirection(Qt::LeftToRight);
        painter_.setRenderHint(QPainter::SmoothPixmapTransform);
      }
    }
    return painter_.isActive() ? &painter_ : nullptr;
  }

  void record(PrintedItem item) {
    item.page = page_;
    doc_.items.append(std::move(item));
  }

  void newPage() {
    if (painter_.isActive()) printer_->newPage();
    ++page_;
  }

  // Ends the document; a recorded one is handed to the recorder. Raises 482
  // when the pages did not reach the printer.
  void finish() {
    if (!started_) return;
    const bool ok = !failed_ && (!painter_.isActive() || EndPrintJob(painter_, *printer_));
    doc_.pages = page_;
    if (pdf_) doc_.pdfFile = pdf_->outputFileName();
    pdf_.reset();
    printer_ = nullptr;
    started_ = false;
    auto& rec = PrintRecorder::instance();
    if (ok && rec.active()) rec.documents.append(doc_);
    doc_ = PrintedDocument{};
    if (!ok) printerError();
  }

  // Drops a document that was never ended (nothing reaches the recorder).
  void abandon() {
    if (painter_.isActive()) painter_.end();
    pdf_.reset();
    printer_ = nullptr;
    started_ = false;
    doc_ = PrintedDocument{};
  }

 private:
  QPainter painter_;
  QPrinter* printer_ = nullptr;
  std::unique_ptr<QPrinter> pdf_;
  PrintedDocument doc_;
  bool started_ = false;
  bool failed_ = false;
  int page_ = 1;
};

QSizeF naturalSize(const QPixmap& picture) {
  const QSizeF px = picture.deviceIndependentSize();
  return {vb::PixelsToTwipsX(qRound(px.width())), vb::PixelsToTwipsY(qRound(px.height()))};
}

void drawPicture(QPainter* p, const QPixmap& picture, const QRectF& target) {
  if (p) p->drawPixmap(target, picture, QRectF(picture.rect()));
}

}  // namespace

// ---- PrintedDocument

QVector<PrintedItem> PrintedDocument::texts() const {
  QVector<PrintedItem> out;
  for (const auto& i : items)
    if (i.kind == PrintedItem::Text) out.append(i);
  return out;
}

QVector<PrintedItem> PrintedDocument::pictures() const {
  QVector<PrintedItem> out;
  for (const auto& i : items)
    if (i.kind == PrintedItem::Picture) out.append(i);
  return out;
}

// ---- Printer

struct Printer::Impl {
  Canvas canvas;
  std::unique_ptr<QPrinter> printer;
};

Printer& Printer::instance() {
  static Printer p;
  return p;
}

Printer::Impl* Printer::impl() {
  if (!impl_) impl_ = new Impl;
  return impl_;
}

QPrinter* Printer::device() {
  Impl* d = impl();
  if (!d->printer) d->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return d->printer.get();
}

QString Printer::documentName() const { return DocumentName.isEmpty() ? AppTitle() : DocumentName; }

void Printer::Print(const QString& text) {
  QPainter* p = impl()->canvas.begin(documentName(), [this] { return device(); });
  const QFont font = twipFont(FontName, FontSize, FontBold);
  const QFontMetricsF fm(font);
  // Line breaks inside the text start new lines at the left edge.
  const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
  for (const QString& line : lines) {
    if (!line.isEmpty()) {
      PrintedItem item;
      item.kind = PrintedItem::Text;
      item.x = CurrentX;
      item.y = CurrentY;
      item.width = fm.horizontalAdvance(line);
      item.height = fm.height();
      item.text = line;
      item.fontSize = FontSize;
      item.bold = FontBold;
      item.colour = ForeColor;
      impl()->canvas.record(item);
      if (p) {
        p->setFont(font);
        p->setPen(ForeColor);
        p->drawText(QPointF(CurrentX, CurrentY + fm.ascent()), line);
      }
    }
    CurrentX = 0;
    CurrentY += fm.height();
  }
}

void Printer::PaintPicture(const QPixmap& picture, double x, double y) {
  if (picture.isNull()) Raise(481, QStringLiteral("Invalid picture"));
  QPainter* p = impl()->canvas.begin(documentName(), [this] { return device(); });
  const QSizeF size = naturalSize(picture);
  PrintedItem item;
  item.kind = PrintedItem::Picture;
  item.x = x;
  item.y = y;
  item.width = size.width();
  item.height = size.height();
  item.picture = picture;
  impl()->canvas.record(item);
  drawPicture(p, picture, QRectF(QPointF(x, y), size));
}

void Printer::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
  QPainter* p = impl()->canvas.begin(documentName(), [this] { return device(); });
  PrintedItem item;
  item.kind = PrintedItem::Line;
  item.x = x1;
  item.y = y1;
  item.width = x2 - x1;
  item.height = y2 - y1;
  item.colour = colour;
  impl()->canvas.record(item);
  if (p) {
    QPen pen(colour);
    pen.setCosmetic(true);
    p->setPen(pen);
    p->drawLine(QPointF(x1, y1), QPointF(x2, y2));
  }
  CurrentX = x2;
  CurrentY = y2;
}

void Printer::NewPage() {
  impl()->canvas.begin(documentName(), [this] { return device(); });
  impl()->canvas.newPage();
  CurrentX = 0;
  CurrentY = 0;
}

void Printer::EndDoc() {
  CurrentX = 0;
  CurrentY = 0;
  impl()->canvas.finish();
}

double Printer::TextWidth(const QString& text) const {
  const QFontMetricsF fm(twipFont(FontName, FontSize, FontBold));
  double widest = 0;
  for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
    widest = qMax(widest, fm.horizontalAdvance(line));
  return widest;
}

double Printer::TextHeight(const QString& text) const {
  const QFontMetricsF fm(twipFont(FontName, FontSize, FontBold));
  const auto lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
  return fm.height() * lines.size();
}

// ---- PrintForm

void PrintForm(QWidget* window) {
  if (!window) Raise(91, QStringLiteral("Object variable or With block variable not set"));
  const QPixmap image = window->grab();
  Canvas canvas;
  // Named in the print queue as the window is titled, also when its scrolling
  // page is what prints.
  QPainter* p = canvas.begin(window->window()->windowTitle(), [] { return Printer::instance().device(); });
  const QSizeF size = naturalSize(image);
  PrintedItem item;
  item.kind = PrintedItem::Picture;
  item.width = size.width();
  item.height = size.height();
  item.picture = image;
  canvas.record(item);
  drawPicture(p, image, QRectF(QPointF(0, 0), size));
  canvas.finish();
}

// ---- PrintRecorder

PrintRecorder& PrintRecorder::instance() {
  static PrintRecorder r;
  return r;
}

void PrintRecorder::activate(const QString& pdfFolder) {
  Printer& printer = Printer::instance();
  printer.impl()->canvas.abandon();
  // A fresh printer object, as at program start.
  printer.CurrentX = printer.CurrentY = 0;
  printer.FontSize = Printer().FontSize;
  printer.FontBold = Printer().FontBold;
  printer.FontName = Printer().FontName;
  printer.ForeColor = Printer().ForeColor;
  printer.DocumentName.clear();
  active_ = true;
  pdf_ = pdfFolder;
  documents.clear();
}

void PrintRecorder::deactivate() {
  Printer::instance().impl()->canvas.abandon();
  active_ = false;
  pdf_.clear();
  documents.clear();
}

QString PrintRecorder::nextPdfFile(const QString& documentName) {
  QString safe = documentName;
  safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
  return QDir(pdf_).filePath(QStringLiteral("%1-%2.pdf").arg(safe).arg(++pdfCount_));
}

}  // namespace platform
