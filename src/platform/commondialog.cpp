#include "commondialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <memory>

#include "msgbox.h"
#include "platformlanguage.h"
#include "printer.h"
#include "vberror.h"

namespace platform {

QStringList NameFilters(const QString& filter) {
  QStringList out;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString shown = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed();
    const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
    out << (shown.endsWith(tail) ? shown : shown + QLatin1Char(' ') + tail);
  }
  return out;
}

namespace {

// The platform's dialogs read in the direction of their own words, whatever
// the window they are shown over.
void inPlatformDirection(QWidget* dialog) { dialog->setLayoutDirection(PlatformDialogDirection()); }

[[noreturn]] void raiseCancel() { Raise(CommonDialog::cdlCancel, QStringLiteral("Cancel was selected.")); }

QString dialogFolder(const QString& initDir) {
  return initDir.isEmpty() ? QDir::currentPath() : QDir(initDir).absolutePath();
}

// With no title of the program's a file dialog has the platform's own.
QString fileDialogTitle(const CommonDialog& d, bool save) {
  if (!d.DialogTitle.isEmpty()) return d.DialogTitle;
  return save ? QStringLiteral("Save As") : QStringLiteral("Open");
}

Prompt dialogPrompt(const CommonDialog& d, Prompt::DialogKind kind) {
  Prompt p;
  p.kind = Prompt::FileDialog;
  p.text = kind == Prompt::ColorDialog ? QString() : d.Filter;
  p.title = kind == Prompt::ColorDialog ? d.DialogTitle : fileDialogTitle(d, kind == Prompt::SaveDialog);
  p.style = kind;
  return p;
}

void setUpFileDialog(QFileDialog& dialog, const CommonDialog& d, bool save) {
  inPlatformDirection(&dialog);
  dialog.setWindowTitle(fileDialogTitle(d, save));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  const bool mustExist = !save && (d.Flags & CommonDialog::cdlOFNFileMustExist);
  dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The program asks its own overwrite question unless it set the flag.
  if (save && !(d.Flags & CommonDialog::cdlOFNOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = NameFilters(d.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(d.FilterIndex - 1, filters.first()));
  }
  dialog.setDirectory(dialogFolder(d.InitDir));
  if (!d.FileName.isEmpty()) dialog.selectFile(d.FileName);
}

// Runs a real file dialog; false when it was cancelled.
bool runFileDialog(CommonDialog& d, QWidget* owner, bool save) {
  QFileDialog dialog(owner);
  setUpFileDialog(dialog, d, save);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  d.FileName = dialog.selectedFiles().first();
  const int chosen = NameFilters(d.Filter).indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) d.FilterIndex = chosen + 1;
  return true;
}

void showFileDialog(CommonDialog& d, QWidget* owner, bool save) {
  bool chosen = false;
  auto& script = PromptScript::instance();
  if (script.active()) {
    if (script.viewing()) {
      QFileDialog dialog(owner);
      setUpFileDialog(dialog, d, save);
      script.showToViewer(&dialog);
    }
    const auto a = script.takeDialog(dialogPrompt(d, save ? Prompt::SaveDialog : Prompt::OpenDialog));
    chosen = !a.cancelled && !a.fileName.isEmpty();
    if (chosen) d.FileName = QDir(dialogFolder(d.InitDir)).absoluteFilePath(a.fileName);
  } else {
    chosen = runFileDialog(d, owner, save);
  }
  if (chosen) return;
  if (d.CancelError) raiseCancel();
  d.FileName.clear();
}

}  // namespace

void CommonDialog::ShowOpen() { showFileDialog(*this, owner_, false); }
void CommonDialog::ShowSave() { showFileDialog(*this, owner_, true); }

void CommonDialog::ShowColor() {
  auto made = [this] {
    auto dialog = std::make_unique<QColorDialog>(Color.isValid() ? Color : QColor(Qt::black), owner_);
    inPlatformDirection(dialog.get());
    if (!DialogTitle.isEmpty()) dialog->setWindowTitle(DialogTitle);
    return dialog;
  };
  QColor chosen;
  auto& script = PromptScript::instance();
  if (script.active()) {
    if (script.viewing()) script.showToViewer(made().get());
    const auto a = script.takeDialog(dialogPrompt(*this, Prompt::ColorDialog));
    if (!a.cancelled) chosen = a.color;
  } else if (auto dialog = made(); dialog->exec() == QDialog::Accepted) {
    chosen = dialog->selectedColor();
  }
  if (chosen.isValid()) {
    Color = chosen;
    return;
  }
  if (CancelError) raiseCancel();
}

void CommonDialog::ShowPrinter() {
  if (!RunPrintDialog(Printer::instance().device(), owner_) && CancelError) raiseCancel();
}

bool RunPrintDialog(QPrinter* printer, QWidget* owner, int pageCount) {
  auto made = [&] {
    auto dialog = std::make_unique<QPrintDialog>(printer, owner);
    inPlatformDirection(dialog.get());
    if (pageCount > 0) {
      // Without its pages the dialog refuses every page range typed in.
      dialog->setMinMax(1, pageCount);
      dialog->setOption(QAbstractPrintDialog::PrintPageRange);
      dialog->setOption(QAbstractPrintDialog::PrintCollateCopies);
    }
    return dialog;
  };
  auto& script = PromptScript::instance();
  if (!script.active()) return made()->exec() == QDialog::Accepted;
  Prompt p;
  p.kind = Prompt::FileDialog;
  p.title = QStringLiteral("Print");
  const auto answer = script.takeDialog(p);
  // The dialog as it opens on the printer the answer names, when the printing
  // system has one of that name (its paper applies); a test may set its
  // controls while it is shown, and it is accepted with them.
  if (!answer.cancelled && QPrinterInfo::availablePrinterNames().contains(answer.fileName))
    printer->setPrinterName(answer.fileName);
  const auto dialog = made();
  if (script.viewing()) script.showToViewer(dialog.get());
  if (answer.cancelled) return false;
  dialog->accept();
  return true;
}

}  // namespace platform
