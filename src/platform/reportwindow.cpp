#include "reportwindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>

#include "commondialog.h"
#include "forms.h"
#include "msgbox.h"
#include "printer.h"
#include "toolbar.h"
#include "vb.h"
#include "windowprint.h"

namespace platform {
namespace {

// The pages as the print recorder keeps documents.
PrintedDocument recorded(const QString& name, const QVector<QVector<ReportItem>>& pages) {
  PrintedDocument doc;
  doc.name = name;
  doc.pages = pages.size();
  for (const auto& page : pages)
    for (const ReportItem& it : page) {
      PrintedItem p;
      p.page = it.page;
      p.x = it.rect.x();
      p.y = it.rect.y();
      p.width = it.rect.width();
      p.height = it.rect.height();
      p.text = it.text;
      p.fontSize = it.font.pointSizeF();
      p.bold = it.font.bold();
      p.colour = it.colour;
      switch (it.kind) {
        case ReportItem::Text: p.kind = PrintedItem::Text; break;
        case ReportItem::Shape: p.kind = PrintedItem::Box; break;
        case ReportItem::Line: p.kind = PrintedItem::Line; break;
        case ReportItem::Image: p.kind = PrintedItem::Picture; break;
      }
      doc.items.append(p);
    }
  return doc;
}

}  // namespace

ReportWindow::ReportWindow() : QWidget(nullptr, Qt::Window) {
  setLayoutDirection(Qt::LeftToRight);  // the preview's pages and toolbar read left to right
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer_->setFullPage(true);

  auto* bar = new Toolbar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  actPrint = bar->addAction(QStringLiteral("Print..."));
  actPDF = bar->addAction(QStringLiteral("Save as PDF..."));
  actPrint->setShortcut(QKeySequence::Print);
  actPDF->setShortcut(QKeySequence::Save);
  new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
  bar->addSeparator();
  QAction* zoomIn = bar->addAction(QStringLiteral("Zoom +"));
  QAction* zoomOut = bar->addAction(QStringLiteral("Zoom -"));
  QAction* prev = bar->addAction(QStringLiteral("< Page"));
  QAction* next = bar->addAction(QStringLiteral("Page >"));

  preview = new ReportPreview(Layout, this);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  box->addWidget(bar);
  box->addWidget(preview, 1);

  connect(actPrint, &QAction::triggered, this, [this] { PrintReport(); });
  connect(actPDF, &QAction::triggered, this, [this] { ExportReport(); });
  connect(zoomIn, &QAction::triggered, preview, [this] { preview->zoomIn(); });
  connect(zoomOut, &QAction::triggered, preview, [this] { preview->zoomOut(); });
  connect(prev, &QAction::triggered, preview,
          [this] { preview->setCurrentPage(qMax(1, preview->currentPage() - 1)); });
  connect(next, &QAction::triggered, preview, [this] { preview->setCurrentPage(preview->currentPage() + 1); });
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::SetPreviewSize(double widthTwips, double heightTwips) {
  resize(vb::TwipsToPixelsX(widthTwips), vb::TwipsToPixelsY(heightTwips));
}

void ReportWindow::Show() {
  KeepOnScreen(this);  // the designed preview size may exceed a small or scaled screen
  preview->updatePreview();
  preview->fitToWidth();
  show();
  raise();
}

void ReportWindow::PrintReport() {
  auto& recorder = PrintRecorder::instance();
  if (recorder.active()) {
    PrintedDocument doc = recorded(Caption(), Layout.Pages());
    if (!recorder.pdfFolder().isEmpty()) {
      QString safe = Caption();
      safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
      doc.pdfFile = QDir(recorder.pdfFolder()).filePath(safe + QStringLiteral(".pdf"));
      Layout.ExportPDF(doc.pdfFile);
    }
    recorder.documents.append(doc);
    return;
  }
  // The job is named in the queue as the preview is titled.
  printer_->setDocName(Caption());
  if (!RunPrintDialog(printer_.get(), this, Layout.PagesOn(ReportLayout::PaperOf(*printer_)).size())) return;
  if (!Layout.Print(*printer_)) MsgBox(PrintFailedMessage());
}

void ReportWindow::ExportReport() {
  CommonDialog dialog(this);
  dialog.DialogTitle = QStringLiteral("Save as PDF");
  dialog.Filter = QStringLiteral("PDF (*.pdf)|*.pdf");
  dialog.Flags = CommonDialog::cdlOFNOverwritePrompt | CommonDialog::cdlOFNHideReadOnly;
  dialog.ShowSave();
  if (dialog.FileName.isEmpty()) return;
  QString file = dialog.FileName;
  // The dialog asked about the name as typed; a name completed here is asked about here.
  if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
    file += QStringLiteral(".pdf");
    if (QFileInfo::exists(file) &&
        MsgBox(QStringLiteral("הקובץ %1 כבר קיים.\nהאם להחליף אותו?").arg(QFileInfo(file).fileName()),
               vbYesNo | vbExclamation | vbDefaultButton2) != vbYes)
      return;
  }
  QString reason;
  if (!Layout.ExportPDF(file, &reason))
    MsgBox(QStringLiteral("לא ניתן לשמור את הקובץ %1:\n%2").arg(QFileInfo(file).fileName(), reason), vbExclamation);
}

}  // namespace platform
