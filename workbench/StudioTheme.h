// The visual theme "Studio" of menus, tool bars and panels.
#pragma once

class QMainWindow;

void ApplyStudioTheme(QMainWindow &window);
