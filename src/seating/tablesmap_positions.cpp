// Table positions on the map and the garden picture. Until they are kept in the
// settings file, the list's own arrangement stands and nothing counts as moved.
#include "frmTableMap.h"

void frmTableMap::LoadTablesMap() {}

bool frmTableMap::IsTablesMapChanged() { return false; }

void frmTableMap::SaveTablesMap() {}
