#pragma once

// Resource IDs of KTVDebugger.exe. Also read by the resource script, so only
// preprocessor definitions here.

#define IDI_APP 1

// The main window's banner: plain colour at the left edge, motif at the right;
// 720 x 120 pixels, and the same scaled to 72 pixels high, the banner's
// height at 96 dots per inch.
#define IDB_MAIN_BANNER 101
#define IDB_MAIN_BANNER_72PX 103

// The About box's banner picture, 301 x 60 pixels, 24-bit colour.
#define IDB_ABOUT_BANNER 102

// The About box: its dialog template and controls (three credit lines and
// the contact line in tab order, then "Close").
#define IDD_ABOUT 200
#define IDC_ABOUT_BANNER 1510
#define IDC_ABOUT_CREDIT1 1511
#define IDC_ABOUT_CREDIT2 1512
#define IDC_ABOUT_CREDIT3 1513
#define IDC_ABOUT_CONTACT 1514
#define IDC_ABOUT_CLOSE 1501
