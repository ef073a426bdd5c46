// The pictures compiled into the program (icons, splash picture).
#pragma once

// Registers them; a static library's resources are only found after this call.
void InitWorkbenchResources();
