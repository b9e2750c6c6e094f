#include "tablemap.h"

#include <QtTest>

#include "seating/frmTableMap.h"

namespace testsupport {

frmTableMap& showMap() {
  frmTableMap& map = frmTableMap::Default();
  map.show();
  if (!QTest::qWaitForWindowExposed(&map)) QTest::qFail("the tables map was not shown", __FILE__, __LINE__);
  return map;
}

}  // namespace testsupport
