// The "Studio" look: flat bars in a light grey-blue, panel captions set off like title bars.
#include "workbench/StudioTheme.h"

#include <QMainWindow>

void ApplyStudioTheme(QMainWindow &window) {
  window.setStyleSheet(
      QStringLiteral("QMenuBar { background: #e8ecf2; border-bottom: 1px solid #b8c2d0; }"
                     "QMenuBar::item:selected { background: #c9d6ea; }"
                     "QToolBar { background: #e8ecf2; border: none; border-bottom: 1px solid "
                     "#b8c2d0; spacing: 2px; }"
                     "QToolBar::separator { width: 1px; background: #b8c2d0; margin: 3px 4px; }"
                     "QDockWidget::title { background: #c9d6ea; padding: 3px 6px; }"
                     "QStatusBar { background: #e8ecf2; border-top: 1px solid #b8c2d0; }"));
}
