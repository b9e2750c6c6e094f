#pragma once
// Web and mail links handed to the desktop.
#include <QString>

namespace MWebLink {

// Kind 0: a web address ("http://" put in front unless it starts with exactly
// that); kind 1: a mail address ("mailto:" in front); any other kind as given.
// Returns 1 when the desktop accepted the request, 0 when it did not.
qint32 OpenWebLink(QString Target, quint8 Kind);

}  // namespace MWebLink
