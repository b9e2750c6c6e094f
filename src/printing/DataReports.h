#pragma once
// The three report layouts, each one object (its default instance) that is
// its own preview window: DataReport1 the guest list, DataReport2 envelope
// labels, DataReport3 seating notes. Closing a preview releases its object.
#include <QCloseEvent>

#include "platform/forms.h"
#include "platform/reportwindow.h"

class DataReport1 : public platform::ReportWindow, public platform::Form<DataReport1> {
  Q_OBJECT
 public:
  DataReport1();
  void Form_Unload(int& Cancel) override;
  // Run when the layout object is released: closes the report data.
  void DataReport_Terminate();

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
};

class DataReport2 : public platform::ReportWindow, public platform::Form<DataReport2> {
  Q_OBJECT
 public:
  DataReport2();

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
};

class DataReport3 : public platform::ReportWindow, public platform::Form<DataReport3> {
  Q_OBJECT
 public:
  DataReport3();

 protected:
  void closeEvent(QCloseEvent* event) override { handleCloseEvent(event); }
};

namespace printing {
// The logo of the guest-list report's page header, 276 x 54 pixels.
QPixmap MyLogoPicture();
}  // namespace printing

namespace printing {
// A picture file; raises 53 "File not found" or 481 "Invalid picture".
QPixmap LoadPicture(const QString& fileName);
// The folder of the background pictures, under the program folder.
QString DesignFolder();
// The list entry that stands for no background picture.
inline const QString kNoBackground = QStringLiteral("עיצוב ללא רקע");
}  // namespace printing
