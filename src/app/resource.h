#pragma once

// Resource IDs of KTVDebugger.exe. Also read by the resource script, so only
// preprocessor definitions here.

#define IDI_APP 1

// The main window's banner: plain colour at the left edge, motif at the right.
#define IDB_MAIN_BANNER 101

// The About box's banner picture, 301 x 60 pixels, 24-bit colour.
#define IDB_ABOUT_BANNER 102
