#pragma once
// The printer object: text and pictures placed at twip positions from the
// printable area's top left, a page at a time, on the printer chosen in the
// last printer dialog (CommonDialog::ShowPrinter). Printing a window's image
// (VB's PrintForm) goes the same way.
//
// Tests record every document instead of printing it (PrintRecorder), and may
// also have each document written as a PDF file to look at.
#include <QColor>
#include <QPixmap>
#include <QString>
#include <QVector>

class QPrinter;
class QWidget;

namespace platform {

struct PrintedItem {
  enum Kind { Text, Picture, Line, Box } kind = Text;
  int page = 1;
  double x = 0, y = 0;          // twips
  double width = 0, height = 0; // twips (pictures: natural size; lines: x2 - x, y2 - y)
  QString text;
  QPixmap picture;              // pictures: what was drawn
  double fontSize = 0;
  bool bold = false;
  QColor colour;
};

struct PrintedDocument {
  QString name;
  QVector<PrintedItem> items;
  int pages = 0;
  QString pdfFile;  // when the recorder writes PDFs

  QVector<PrintedItem> texts() const;     // the text items, in order
  QVector<PrintedItem> pictures() const;  // the picture items, in order
};

class Printer {
 public:
  static Printer& instance();

  double CurrentX = 0;  // twips
  double CurrentY = 0;
  double FontSize = 10;
  bool FontBold = false;
  QString FontName = QStringLiteral("Nachlieli CLM");
  QColor ForeColor = Qt::black;
  // The title of the next document in the print queue; empty: the program's title.
  QString DocumentName;

  // Prints one line of text at (CurrentX, CurrentY); the next line starts at
  // the left edge, one line lower.
  void Print(const QString& text);
  // A picture in its natural size at (x, y) twips; no picture raises 481.
  void PaintPicture(const QPixmap& picture, double x, double y);
  void Line(double x1, double y1, double x2, double y2, const QColor& colour = Qt::black);
  void NewPage();
  // Ends the document: the pages go to the printer. Nothing is printed before.
  void EndDoc();
  double TextWidth(const QString& text) const;   // twips, in the current font
  double TextHeight(const QString& text) const;

  // The printer the next document goes to (set by the printer dialog).
  QPrinter* device();

 private:
  friend class PrintRecorder;
  Printer() = default;
  QString documentName() const;
  struct Impl;
  Impl* impl();
  Impl* impl_ = nullptr;
};

// Prints the window's image, as the window looks now, on one page at its
// natural size from the top left. A printer that cannot start raises 482.
void PrintForm(QWidget* window);

class PrintRecorder {
 public:
  static PrintRecorder& instance();
  void activate(const QString& pdfFolder = QString());  // record instead of printing
  void deactivate();  // real printing again; the recorded documents are dropped
  bool active() const { return active_; }
  const QString& pdfFolder() const { return pdf_; }
  QVector<PrintedDocument> documents;

  // Where the next recorded document's PDF goes (used by the printer).
  QString nextPdfFile(const QString& documentName);

 private:
  bool active_ = false;
  QString pdf_;
  int pdfCount_ = 0;
};

}  // namespace platform
