// Compiled only by the catalog_links_core_only test, which expects failure.
#include "itemtable.h"
#include <QWidget>
