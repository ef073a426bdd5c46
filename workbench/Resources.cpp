// Registration of the compiled-in pictures.
#include "workbench/Resources.h"

#include <QtGlobal>

#ifdef KZ_HAVE_RESOURCES
static void InitResourcesOutsideNamespaces() { Q_INIT_RESOURCE(kzpstudio); }
#endif

void InitWorkbenchResources() {
#ifdef KZ_HAVE_RESOURCES
  InitResourcesOutsideNamespaces();
#endif
}
