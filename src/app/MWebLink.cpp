#include "MWebLink.h"

#include "platform/shell.h"

namespace MWebLink {

qint32 OpenWebLink(QString Target, quint8 Kind) {
  if (Kind == 0) {
    if (Target.left(7) != QLatin1String("http://")) Target.prepend(QStringLiteral("http://"));
  } else if (Kind == 1) {
    Target.prepend(QStringLiteral("mailto:"));
  }
  return platform::OpenWithDesktop(Target) ? 1 : 0;
}

}  // namespace MWebLink
