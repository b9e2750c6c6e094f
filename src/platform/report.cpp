#include "report.h"

#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "cupsjob.h"
#include "filereplace.h"
#include "vb.h"
#include "vberror.h"

namespace platform {
namespace {

[[noreturn]] void closedError() {
  Raise(3704, QStringLiteral("Operation is not allowed when the object is closed."));
}

// "Driver=...;DBQ=file" -> file
QString databaseOf(const QString& connectionString) {
  for (const QString& part : connectionString.split(';')) {
    const int eq = part.indexOf('=');
    if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("DBQ"), Qt::CaseInsensitive) == 0)
      return part.mid(eq + 1).trimmed();
  }
  return QString();
}

}  // namespace

// --- connection ---

void ReportConnection::Open(const QString& connectionString, const QString&, const QString&) {
  if (!connectionString.isEmpty()) ConnectionString = connectionString;
  if (open_) Raise(3705, QStringLiteral("Operation is not allowed when the object is open."));
  const QString file = databaseOf(ConnectionString);
  if (file.isEmpty() || !QFileInfo(file).isFile())
    Raise(-2147467259, QStringLiteral("[Microsoft][ODBC Microsoft Access Driver] Could not find file '%1'.")
                           .arg(file));
  open_ = true;
}

void ReportConnection::Close() {
  if (!open_) closedError();
  open_ = false;
}

// --- record set ---

void ReportRecordset::AppendField(const QString& name, int maxLength) {
  if (open_) Raise(3219, QStringLiteral("Operation is not allowed in this context."));
  fields_.append({name, maxLength});
}

void ReportRecordset::Open() {
  if (open_) Raise(3705, QStringLiteral("Operation is not allowed when the object is open."));
  records_.clear();
  pending_.reset();
  pos_ = 0;
  open_ = true;
}

void ReportRecordset::Close() {
  if (!open_) closedError();
  open_ = false;
  pending_.reset();
}

void ReportRecordset::requireOpen() const {
  if (!open_) closedError();
}

int ReportRecordset::fieldIndex(const QString& name) const {
  for (int i = 0; i < fields_.size(); ++i)
    if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
  Raise(3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
}

void ReportRecordset::AddNew() {
  requireOpen();
  Update();
  pending_ = QStringList();
  for (int i = 0; i < fields_.size(); ++i) pending_->append(QString());
}

void ReportRecordset::AddNew(const QStringList& names, const QStringList& values) {
  requireOpen();
  Update();
  QStringList record;
  for (int i = 0; i < fields_.size(); ++i) record.append(QString());
  for (int i = 0; i < names.size(); ++i) {
    const int f = fieldIndex(names[i]);
    const QString v = values.value(i);
    if (v.size() > fields_[f].maxLength)
      Raise(-2147217887, QStringLiteral("Multiple-step operation generated errors. Check each status value."));
    record[f] = v;
  }
  records_.append(record);
  pos_ = records_.size() - 1;
}

void ReportRecordset::SetField(const QString& name, const QString& value) {
  requireOpen();
  const int f = fieldIndex(name);
  if (value.size() > fields_[f].maxLength)
    Raise(-2147217887, QStringLiteral("Multiple-step operation generated errors. Check each status value."));
  if (pending_) {
    (*pending_)[f] = value;
    return;
  }
  if (IsEOF() || IsBOF()) Raise(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
  records_[pos_][f] = value;
}

QString ReportRecordset::Field(const QString& name) const {
  requireOpen();
  const int f = fieldIndex(name);
  if (pending_) return pending_->at(f);
  if (IsEOF() || IsBOF()) Raise(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
  return records_[pos_][f];
}

void ReportRecordset::Update() {
  requireOpen();
  if (!pending_) return;
  records_.append(*pending_);
  pending_.reset();
  pos_ = records_.size() - 1;
}

void ReportRecordset::MoveFirst() {
  requireOpen();
  Update();
  pos_ = 0;
}

void ReportRecordset::MoveNext() {
  requireOpen();
  Update();
  if (IsEOF()) Raise(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
  ++pos_;
}

bool ReportRecordset::IsEOF() const { return pos_ >= records_.size(); }
bool ReportRecordset::IsBOF() const { return records_.isEmpty() || pos_ < 0; }
int ReportRecordset::RecordCount() const { return records_.size(); }

QVector<QHash<QString, QString>> ReportRecordset::Records() const {
  QVector<QHash<QString, QString>> out;
  for (const QStringList& r : records_) {
    QHash<QString, QString> row;
    for (int i = 0; i < fields_.size(); ++i) row.insert(fields_[i].name.toLower(), r.value(i));
    out.append(row);
  }
  return out;
}

// --- layout ---

QFont ReportFont(const QString& family, double points, bool bold, bool italic, bool underline, bool strikeOut) {
  QFont f(family);
  // Hebrew glyphs where the named font has none (Arial's stand-ins often lack them).
  f.setFamilies({family, QStringLiteral("Nachlieli CLM")});
  f.setPointSizeF(points);
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  f.setStrikeOut(strikeOut);
  return f;
}

ReportControl& ReportSection::Controls(const QString& name) {
  for (ReportControl& c : controls)
    if (c.Name.compare(name, Qt::CaseInsensitive) == 0) return c;
  Raise(8524, QStringLiteral("Control '%1' not found in section '%2'.").arg(name, Name));
}

const ReportControl* ReportSection::find(const QString& name) const {
  for (const ReportControl& c : controls)
    if (c.Name.compare(name, Qt::CaseInsensitive) == 0) return &c;
  return nullptr;
}

ReportLayout::ReportLayout() : DefaultFont(ReportFont(QStringLiteral("Arial"), 8.25)) {
  ReportHeader.Name = QStringLiteral("Section4");
  PageHeader.Name = QStringLiteral("Section2");
  Detail.Name = QStringLiteral("Section1");
  PageFooter.Name = QStringLiteral("Section3");
  ReportFooter.Name = QStringLiteral("Section5");
}

ReportSection& ReportLayout::Sections(const QString& name) {
  for (ReportSection* s : {&ReportHeader, &PageHeader, &Detail, &PageFooter, &ReportFooter})
    if (s->Name.compare(name, Qt::CaseInsensitive) == 0) return *s;
  Raise(8523, QStringLiteral("Section '%1' not found.").arg(name));
}

void ReportLayout::SetDataSource(const std::shared_ptr<ReportRecordset>& rs) {
  if (rs && !rs->isOpen()) closedError();
  source_ = rs;
  rows_ = rs ? rs->Records() : QVector<QHash<QString, QString>>();
  // A text box bound to a field the record set lacks is a design error.
  if (rs)
    for (const ReportControl& c : Detail.controls)
      if (c.kind == ReportControl::TextBox) {
        bool found = false;
        for (const auto& f : rs->Fields()) found = found || f.name.compare(c.DataField, Qt::CaseInsensitive) == 0;
        if (!found) Raise(8526, QStringLiteral("DataField '%1' not found").arg(c.DataField));
      }
}

ReportControl& ReportLayout::add(ReportSection& s, ReportControl c) {
  c.Font = c.Font.family().isEmpty() ? DefaultFont : c.Font;
  s.controls.append(c);
  return s.controls.last();
}

ReportControl& ReportLayout::addLabel(ReportSection& s, const QString& name, double left, double top,
                                      double width, double height, const QString& caption) {
  ReportControl c;
  c.kind = ReportControl::Label;
  c.Name = name;
  c.Left = left, c.Top = top, c.Width = width, c.Height = height;
  c.Caption = caption;
  c.DesignedCaption = caption;
  c.Font = DefaultFont;
  return add(s, c);
}

ReportControl& ReportLayout::addTextBox(ReportSection& s, const QString& name, double left, double top,
                                        double width, double height, const QString& field) {
  ReportControl& c = addLabel(s, name, left, top, width, height, QString());
  c.kind = ReportControl::TextBox;
  c.DataField = field;
  return c;
}

ReportControl& ReportLayout::addShape(ReportSection& s, const QString& name, double left, double top,
                                      double width, double height, ReportControl::ShapeKind shape) {
  ReportControl& c = addLabel(s, name, left, top, width, height, QString());
  c.kind = ReportControl::Shape;
  c.ShapeStyle = shape;
  return c;
}

ReportControl& ReportLayout::addLine(ReportSection& s, const QString& name, double left, double top,
                                     double width, double height) {
  ReportControl& c = addLabel(s, name, left, top, width, height, QString());
  c.kind = ReportControl::Line;
  return c;
}

ReportControl& ReportLayout::addImage(ReportSection& s, const QString& name, double left, double top,
                                      double width, double height) {
  ReportControl& c = addLabel(s, name, left, top, width, height, QString());
  c.kind = ReportControl::Image;
  return c;
}

QVector<QVector<ReportItem>> ReportLayout::Pages() const { return PagesOn(PaperSize); }

QSizeF ReportLayout::PaperOf(const QPrinter& printer) {
  return printer.pageLayout().fullRectPoints().size() * 20.0;
}

QVector<QVector<ReportItem>> ReportLayout::PagesOn(const QSizeF& paper) const {
  QVector<QVector<ReportItem>> pages;
  const double bodyTop = TopMargin;
  const double footerTop = (FixedSheet ? PaperSize : paper).height() - BottomMargin - (PageFooter.Visible ? PageFooter.Height : 0);
  double y = bodyTop;

  auto place = [&](const ReportSection& s, const QHash<QString, QString>* row) {
    if (!s.Visible) return;
    for (const ReportControl& c : s.controls) {
      if (!c.Visible) continue;
      ReportItem it;
      it.page = pages.size();
      it.section = s.Name;
      it.control = c.Name;
      it.rect = QRectF(LeftMargin + c.Left, y + c.Top, c.Width, c.Height);
      it.font = c.Font;
      it.alignment = c.Alignment;
      it.fit = c.Fit;
      switch (c.kind) {
        case ReportControl::Label:
        case ReportControl::TextBox:
          it.kind = ReportItem::Text;
          it.text = c.kind == ReportControl::Label ? c.Caption
                                                     : (row ? row->value(c.DataField.toLower()) : QString());
          it.colour = vb::OleColor(c.ForeColor);
          it.direction = c.kind == ReportControl::Label && c.Caption == c.DesignedCaption ? Qt::LeftToRight
                                                                                           : Qt::RightToLeft;
          if (c.BackOpaque) it.back = vb::OleColor(c.BackColor);
          if (it.text.isEmpty() && !it.back.isValid()) continue;  // an empty box prints nothing
          break;
        case ReportControl::Shape:
          it.kind = ReportItem::Shape;
          it.colour = vb::OleColor(c.BorderColor);
          it.rounded = c.ShapeStyle == ReportControl::RoundedRectangle;
          it.pen = c.BorderStyle;
          break;
        case ReportControl::Line:
          it.kind = ReportItem::Line;
          it.colour = vb::OleColor(c.BorderColor);
          it.pen = c.BorderStyle;
          break;
        case ReportControl::Image:
          if (c.Picture.isNull()) continue;
          it.kind = ReportItem::Image;
          it.picture = c.Picture;
          it.sizeMode = c.SizeMode;
          break;
      }
      pages.last().append(it);
    }
    y += s.Height;
  };
  auto newPage = [&] {
    pages.append(QVector<ReportItem>());
    y = bodyTop;
    if (pages.size() == 1) place(ReportHeader, nullptr);
    place(PageHeader, nullptr);
  };
  auto endPage = [&] {
    y = footerTop;
    place(PageFooter, nullptr);
  };

  newPage();
  for (const auto& row : rows_) {
    if (y + Detail.Height > footerTop + 0.5 && y > bodyTop) {
      endPage();
      newPage();
    }
    place(Detail, &row);
  }
  if (ReportFooter.Visible && ReportFooter.Height > 0 && y + ReportFooter.Height > footerTop + 0.5) {
    endPage();
    newPage();
  }
  place(ReportFooter, nullptr);
  endPage();

  const QString count = QString::number(pages.size());
  for (int p = 0; p < pages.size(); ++p)
    for (ReportItem& it : pages[p]) {
      it.page = p + 1;
      if (it.kind == ReportItem::Text && it.text.contains('%'))
        it.text = QString(it.text).replace(QLatin1String("%p"), QString::number(p + 1))
                      .replace(QLatin1String("%P"), count);
    }
  return pages;
}

void ReportLayout::paintPage(QPainter& painter, const QVector<ReportItem>& page, double dpiX, double dpiY) {
  painter.save();
  painter.scale(dpiX / 1440.0, dpiY / 1440.0);  // from here on, twips
  painter.setRenderHint(QPainter::Antialiasing);
  for (const ReportItem& it : page) {
    switch (it.kind) {
      case ReportItem::Text: {
        if (it.back.isValid()) painter.fillRect(it.rect, it.back);
        painter.setPen(it.colour);
        // A small inset keeps neighbouring boxes' texts apart.
        const QRectF box = it.rect.adjusted(30, 0, -30, 0);
        drawFittedText(painter, fitText(it.text, it.font, box.size(), it.direction, it.fit), box, it.alignment);
        break;
      }
      case ReportItem::Shape: {
        QPen pen(it.colour, 15, it.pen);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QRectF r = it.rect.adjusted(7.5, 7.5, -7.5, -7.5);
        if (it.rounded)
          painter.drawRoundedRect(r, qMin(r.width(), r.height()) / 10, qMin(r.width(), r.height()) / 10);
        else
          painter.drawRect(r);
        break;
      }
      case ReportItem::Line:
        painter.setPen(QPen(it.colour, 15, it.pen));
        painter.drawLine(it.rect.topLeft(), it.rect.bottomRight());
        break;
      case ReportItem::Image: {
        QRectF target = it.rect;
        const QSizeF natural(it.picture.width() * 15.0, it.picture.height() * 15.0);
        if (it.sizeMode == 0) target.setSize(natural);
        if (it.sizeMode == 2) {
          QSizeF s = natural.scaled(it.rect.size(), Qt::KeepAspectRatio);
          target.setSize(s);
        }
        painter.save();
        painter.setClipRect(it.rect);
        painter.drawPixmap(target, it.picture, QRectF(it.picture.rect()));
        painter.restore();
        break;
      }
    }
  }
  painter.restore();
}

namespace {

// Begins the painter on the device and draws the pages the ranges hold (all
// when they hold none), each on a sheet of its own. False when the device
// could not be drawn on or refused a new sheet.
bool drawPages(QPainter& painter, QPagedPaintDevice& device, const QVector<QVector<ReportItem>>& pages,
               const QPageRanges& chosen = {}) {
  if (!painter.begin(&device)) return false;
  bool first = true;
  for (int p = 0; p < pages.size(); ++p) {
    if (!chosen.isEmpty() && !chosen.contains(p + 1)) continue;
    if (!first && !device.newPage()) return false;
    first = false;
    ReportLayout::paintPage(painter, pages[p], device.logicalDpiX(), device.logicalDpiY());
  }
  return true;
}

}  // namespace

bool ReportLayout::paint(QPagedPaintDevice& device) const {
  device.setPageLayout(QPageLayout(QPageSize(PaperSize / 20.0, QPageSize::Point), QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  return drawPages(painter, device, Pages()) && painter.end();
}

bool ReportLayout::Print(QPrinter& printer, QString* reason) const {
  QPainter painter;
  if (!drawPages(painter, printer, PagesOn(PaperOf(printer)), printer.pageRanges())) {
    if (reason) *reason = QStringLiteral("Printer error");
    return false;
  }
  return EndPrintJob(painter, printer, reason);
}

bool ReportLayout::ExportPDF(const QString& fileName, QString* reason) const {
  // Written beside the target and put in its place only once every byte is on
  // disk, so a failure (a disk that fills up) leaves an existing file as it was.
  FileReplacement file(fileName);
  auto failed = [&](const QString& why) {
    if (reason) *reason = why.isEmpty() ? QStringLiteral("Write error") : why;
    return false;
  };
  if (!file.open()) return failed(file.errorString());
  bool drawn = false;
  {
    QPdfWriter writer(file.device());
    writer.setResolution(600);
    drawn = paint(writer);
  }
  if (!drawn) return failed(file.device()->errorString());
  if (!file.commit()) return failed(file.errorString());
  return true;
}

QImage ReportLayout::pageImage(int page, double dpi) const {
  const auto pages = Pages();
  QImage img(qRound(PaperSize.width() * dpi / 1440), qRound(PaperSize.height() * dpi / 1440),
             QImage::Format_ARGB32);
  img.fill(Qt::white);
  if (page < 1 || page > pages.size()) return img;
  QPainter painter(&img);
  paintPage(painter, pages[page - 1], dpi, dpi);
  return img;
}

}  // namespace platform
