#pragma once
// Reading order of the program's texts. Many texts were written to be seen in
// a left-to-right box: ".קובץ לא נמצא" shows its mark at the left end, where
// the Hebrew sentence ends, and "40 מספר השולחן צריך להיות מ 1 עד" reads
// "...עד 40". So each line of a text takes its own direction: a line that begins
// with a Hebrew letter reads right to left; any other line (a mark, a number, a
// Latin word first) reads left to right, whatever the window's direction.
#include <QString>
#include <QStringView>
#include <Qt>

namespace platform {

// A leading "&" is skipped when the text carries mnemonics ("&System Info...").
Qt::LayoutDirection LineDirection(QStringView line, bool mnemonics = false);

// The direction of a box that shows only this text: right to left when it
// holds a Hebrew letter, left to right for an English text.
Qt::LayoutDirection BoxDirection(const QString& text);

// The text to lay out in a paragraph of the base direction: every line whose
// own direction differs is wrapped in a directional isolate; CR LF and a lone
// CR become LF, a line break as in a Windows message box.
QString ShownText(const QString& text, Qt::LayoutDirection base, bool mnemonics = false);

// Makes the application's style draw every label, button, check box and menu
// text in its widget's own direction and by the rule above. Call once, after
// the QApplication is made.
void UseReadingOrderStyle();

}  // namespace platform
