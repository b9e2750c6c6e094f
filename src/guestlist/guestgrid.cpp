#include "guestgrid.h"

namespace guestgrid {

const Column kColumns[10] = {
    {QStringLiteral("שם משפחה"), QStringLiteral("FAMILY_NAME"), 1250, 7, 7},
    {QStringLiteral("שם פרטי"), QStringLiteral("FIRST_NAME"), 1700, 7, 7},
    {QStringLiteral("טלפונים"), QStringLiteral("PHONES"), 2000, 7, 7},
    {QStringLiteral("כמות"), QStringLiteral("INV_NUM"), 500, 7, 4},
    {QStringLiteral("הערות"), QStringLiteral("REMARK"), 2200, 7, 7},
    {QStringLiteral("אישור"), QStringLiteral("CONFIRM"), 600, 7, 4},
    {QStringLiteral("מס' שולחן"), QStringLiteral("TABLE_NO"), 900, 7, 4},
    {QStringLiteral("הזמנה"), QStringLiteral("INV_STATUS"), 600, 4, 4},
    {QStringLiteral("כתובת"), QStringLiteral("ADDRESS"), 2200, 7, 7},
    {QStringLiteral("מתנה"), QStringLiteral("PRESENT"), 800, 4, 7},
};

QString ConfirmText(const QVariant& confirm) {
  if (confirm.isNull() || !confirm.isValid()) return QString();
  switch (confirm.toInt()) {
    case 1: return QStringLiteral("מגיע");
    case 2: return QStringLiteral("לא");
    case 3: return QStringLiteral("??");
    default: return QString();
  }
}

}  // namespace guestgrid
