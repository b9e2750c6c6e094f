#pragma once
// The Data Report designer: report layouts in twips (sections of labels, bound
// text boxes, shapes, lines and images), the in-memory record set that feeds
// them, the report connection, and paging into drawn pages.
//
// A layout takes a copy of its data source's records when it is shown, so a
// record set closed later does not change an open preview.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

#include "reporttext.h"

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace platform {

// The connection the reports open. No report reads through it; opening checks
// that the database named by DBQ= is there.
class ReportConnection {
 public:
  QString ConnectionString;
  void Open(const QString& connectionString = QString(), const QString& user = QString(),
            const QString& password = QString());
  void Close();  // raises 3704 when not open
  bool isOpen() const { return open_; }

 private:
  bool open_ = false;
};

// A record set built in memory: variable-length text fields with a maximum
// length, appended before Open.
class ReportRecordset {
 public:
  struct FieldDef {
    QString name;
    int maxLength = 0;
  };

  void AppendField(const QString& name, int maxLength);  // while closed only
  void Open();   // no source, no connection
  void Close();  // raises 3704 when not open
  bool isOpen() const { return open_; }

  // Starts a new record (a pending one is saved first); its fields are empty.
  void AddNew();
  // Adds one record with these fields set, and saves it.
  void AddNew(const QStringList& names, const QStringList& values);
  // Sets a field of the new record being edited, or of the current record.
  // Longer than the field's maximum: error, the field keeps its value.
  void SetField(const QString& name, const QString& value);
  QString Field(const QString& name) const;
  void Update();  // saves the pending record; nothing pending does nothing

  void MoveFirst();
  void MoveNext();
  bool IsEOF() const;
  bool IsBOF() const;
  int RecordCount() const;

  const QVector<FieldDef>& Fields() const { return fields_; }
  // Saved records, as field name -> text.
  QVector<QHash<QString, QString>> Records() const;

 private:
  int fieldIndex(const QString& name) const;  // raises 3265
  void requireOpen() const;
  QVector<FieldDef> fields_;
  QVector<QStringList> records_;
  std::optional<QStringList> pending_;
  int pos_ = 0;
  bool open_ = false;
};

struct ReportControl {
  enum Kind { Label, TextBox, Shape, Line, Image };
  enum ShapeKind { Rectangle, RoundedRectangle };
  Kind kind = Label;
  QString Name;
  double Left = 0, Top = 0, Width = 0, Height = 0;  // twips, within the section
  QString Caption;    // labels; "%p" and "%P" become the page number and page count
  QString DesignedCaption;  // the caption the layout was built with
  QString DataField;  // text boxes
  QFont Font;
  Qt::Alignment Alignment = Qt::AlignLeft;
  TextFit Fit = TextFit::ShrinkThenCut;  // text longer than the box
  quint32 ForeColor = 0;         // 0x00BBGGRR
  quint32 BackColor = 0xFFFFFF;
  bool BackOpaque = false;
  ShapeKind ShapeStyle = Rectangle;  // VB's Shape property
  Qt::PenStyle BorderStyle = Qt::SolidLine;
  quint32 BorderColor = 0;
  bool Visible = true;
  QPixmap Picture;
  int SizeMode = 0;  // 0 clip, 1 stretch, 2 zoom (keep the proportions)
};

struct ReportSection {
  QString Name;
  double Height = 0;
  bool Visible = true;
  QVector<ReportControl> controls;
  // Raises 8524 when the section has no such control.
  ReportControl& Controls(const QString& name);
  const ReportControl* find(const QString& name) const;
};

// One thing drawn on a page, in twips from the paper's top-left corner.
struct ReportItem {
  enum Kind { Text, Shape, Line, Image } kind = Text;
  int page = 1;
  QString section, control;
  QRectF rect;
  QString text;
  QFont font;  // point size as designed
  QColor colour;
  QColor back;  // invalid: transparent
  Qt::Alignment alignment = Qt::AlignLeft;
  TextFit fit = TextFit::ShrinkThenCut;
  // Captions built into a layout are written for left-to-right paragraphs
  // (":סיכום" ends with its colon on the left). What the program fills in at
  // run time (bound values, captions set later: a title, names, addresses)
  // reads as the screen shows it, a right-to-left paragraph.
  Qt::LayoutDirection direction = Qt::LeftToRight;
  bool rounded = false;
  Qt::PenStyle pen = Qt::SolidLine;
  QPixmap picture;
  int sizeMode = 0;
};

class ReportLayout {
 public:
  ReportLayout();

  double ReportWidth = 0;
  double LeftMargin = 1440, RightMargin = 1440, TopMargin = 1440, BottomMargin = 1440;
  QFont DefaultFont;
  QSizeF PaperSize{11906, 16838};  // A4 portrait, twips
  // Labels and cards are made for sheets of PaperSize: on other paper they
  // keep their pages and their measures from the sheet's top-left corner.
  // Other layouts are paged anew on the paper they are printed on.
  bool FixedSheet = false;

  ReportSection ReportHeader, PageHeader, Detail, PageFooter, ReportFooter;
  // By the section's name; raises 8523 for an unknown name.
  ReportSection& Sections(const QString& name);

  // Binding: the records are copied now; the layout does not hold the record set.
  void SetDataSource(const std::shared_ptr<ReportRecordset>& rs);
  std::shared_ptr<ReportRecordset> DataSource() const { return source_.lock(); }
  int rowCount() const { return rows_.size(); }

  // The pages as drawn: report header and page header on page 1, page header
  // on every page, detail rows while they fit above the page footer, the
  // report footer once after the last row.
  QVector<QVector<ReportItem>> Pages() const;
  // The pages as they print on paper of this size (twips).
  QVector<QVector<ReportItem>> PagesOn(const QSizeF& paper) const;
  // The printer's paper, twips.
  static QSizeF PaperOf(const QPrinter& printer);

  // Draws one page on a painter whose device is the whole sheet.
  static void paintPage(QPainter& painter, const QVector<ReportItem>& page, double dotsPerInchX,
                        double dotsPerInchY);
  // Every page onto a paged device (printer, PDF writer), sized to PaperSize.
  // False when the device could not be drawn on or finished.
  bool paint(QPagedPaintDevice& device) const;
  // Prints on the printer's own paper the pages its page ranges hold (all
  // when it holds none); copies and collation are the printer's. False, with
  // the reason, when the job did not reach the printer.
  bool Print(QPrinter& printer, QString* reason = nullptr) const;
  // False, with the reason, when the file cannot be written; an existing
  // file is then left as it was.
  bool ExportPDF(const QString& fileName, QString* reason = nullptr) const;
  QImage pageImage(int page, double dpi = 96) const;

  // Layout building.
  ReportControl& addLabel(ReportSection& s, const QString& name, double left, double top, double width,
                          double height, const QString& caption);
  ReportControl& addTextBox(ReportSection& s, const QString& name, double left, double top, double width,
                            double height, const QString& field);
  ReportControl& addShape(ReportSection& s, const QString& name, double left, double top, double width,
                          double height, ReportControl::ShapeKind shape);
  ReportControl& addLine(ReportSection& s, const QString& name, double left, double top, double width,
                         double height);
  ReportControl& addImage(ReportSection& s, const QString& name, double left, double top, double width,
                          double height);

 private:
  ReportControl& add(ReportSection& s, ReportControl c);
  std::weak_ptr<ReportRecordset> source_;  // the layout does not keep the record set open
  QVector<QHash<QString, QString>> rows_;
};

// A font as the designer states it: name, points, weight and style.
QFont ReportFont(const QString& family, double points, bool bold = false, bool italic = false,
                 bool underline = false, bool strikeOut = false);

}  // namespace platform
