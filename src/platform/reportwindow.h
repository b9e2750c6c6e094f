#pragma once
// A report layout's preview window: modeless, page by page, with buttons to
// print the report and to save it as a PDF file.
#include <QWidget>

#include "report.h"
#include "reportpreview.h"

class QAction;
class QPrinter;

namespace platform {

class ReportWindow : public QWidget {
  Q_OBJECT
 public:
  ReportWindow();
  ~ReportWindow() override;

  ReportLayout Layout;

  void SetCaption(const QString& caption) { setWindowTitle(caption); }
  QString Caption() const { return windowTitle(); }
  // The preview window's client area when it opens, twips.
  void SetPreviewSize(double widthTwips, double heightTwips);
  // Shows the preview without waiting for it to close.
  void Show();

  // The toolbar's buttons. Printing asks for the printer, the pages and the
  // copies first, and says so when the job did not reach the printer; in
  // tests the print recorder may take the pages instead. The PDF button asks for a file
  // name and tells why a file could not be written.
  void PrintReport();
  void ExportReport();

  QAction* actPrint = nullptr;
  QAction* actPDF = nullptr;
  ReportPreview* preview = nullptr;

 private:
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace platform
