#include "platformlanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace platform {
namespace {

QPointer<QTranslator>& loaded() {
  static QPointer<QTranslator> translator;
  return translator;
}

}  // namespace

void LoadPlatformLanguage() {
  if (QTranslator* old = loaded()) {
    QCoreApplication::removeTranslator(old);
    delete old;
  }
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator)) {
    loaded() = translator;
    return;
  }
  delete translator;
}

Qt::LayoutDirection PlatformDialogDirection() {
  const QTranslator* translator = loaded();
  // Untranslated, the words are Qt's English ones.
  if (!translator || translator->isEmpty()) return Qt::LeftToRight;
  return QLocale(translator->language()).textDirection();
}

}  // namespace platform
