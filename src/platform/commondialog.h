#pragma once
// The common dialog: one object with the properties the program sets (filter,
// file name, flags, colour) and Show* calls. A cancel raises error 32755
// "Cancel was selected." when CancelError is set. In tests the answers come
// from the prompt script (PromptScript::answerDialog / cancelDialog).
#include <QColor>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace platform {

class CommonDialog {
 public:
  enum : long { cdlCancel = 32755 };
  // Flags the program uses.
  enum : long { cdlOFNOverwritePrompt = 0x2, cdlOFNHideReadOnly = 0x4, cdlOFNFileMustExist = 0x1000,
                cdlCCRGBInit = 0x1 };

  explicit CommonDialog(QWidget* owner = nullptr) : owner_(owner) {}

  bool CancelError = false;
  QString DialogTitle;
  QString FileName;   // in: initial name; out: the chosen file (full path)
  QString Filter;     // "Text shown|*.ext|Other|*.old"
  int FilterIndex = 1;
  QString InitDir;
  long Flags = 0;
  QColor Color;

  // A cancel leaves FileName empty (Color unchanged) unless CancelError is set.
  void ShowOpen();
  void ShowSave();
  void ShowColor();
  // Chooses the printer the next document of Printer::instance() goes to.
  void ShowPrinter();

 private:
  QWidget* owner_;
};

// The printer dialog on the caller's printer, in the platform's direction
// like every platform dialog; with pageCount above 0 it offers pages 1 to
// pageCount and collation. In tests the script answers: the dialog is
// accepted as it opens, on the printer the answer names when there is one of
// that name. False when the dialog was cancelled.
bool RunPrintDialog(QPrinter* printer, QWidget* owner, int pageCount = 0);

// "Shown|*.a;*.b|Other|*.old" as Qt's name filters: "Shown (*.a *.b)",
// "Other (*.old)". A shown text that already ends with its patterns in
// parentheses is kept as it is.
QStringList NameFilters(const QString& filter);

}  // namespace platform
