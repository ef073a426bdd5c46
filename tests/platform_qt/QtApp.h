// One QApplication for the tests that need fonts or widgets, created on first use.
#pragma once

void EnsureQtApp();
