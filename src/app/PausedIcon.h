// The look of the tray icon while closing is paused: the program's icon in grey, faded.
#pragma once
#include "Icon.h"

// Makes paused the grey, faded copy of source (same size and transparency); paused is left
// empty when source is empty or the system cannot read or make the icon.
void MakePausedIcon(const TIcon& source, TIcon& paused);
