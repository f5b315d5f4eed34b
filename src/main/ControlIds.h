#pragma once

// Control IDs of the main window. The window gives each control its ID here,
// and the end-to-end tests find controls by the same numbers.
namespace ktv::ids {

// Text fields
constexpr int kTxtLccPath = 1001;
constexpr int kTxtKtvPath = 1002;
constexpr int kTxtBasFile = 1003;
constexpr int kTxtLibs = 1004;
constexpr int kTxtCmd = 1005;

// Option buttons
constexpr int kOptGui = 1101;
constexpr int kOptCon = 1102;
constexpr int kOptDll = 1103;

// Check boxes
constexpr int kChkWarn = 1201;
constexpr int kChkNote = 1202;
constexpr int kChkJen = 1203;
constexpr int kChkCon = 1204;
constexpr int kChkRun = 1205;
constexpr int kChkDebug = 1206;

// Buttons
constexpr int kCommand2LccBrowse = 1301;
constexpr int kCommand4KtvBrowse = 1302;
constexpr int kCommand3BasBrowse = 1303;
constexpr int kCommand5LibBrowse = 1304;
constexpr int kCmdExit = 1305;
constexpr int kCommand6About = 1306;
constexpr int kCommand1Debug = 1307;

// Labels and decoration: places in the layout that the window paints, not
// child windows
constexpr int kLabelTitle = 1401;
constexpr int kLabelSubtitle = 1402;
constexpr int kLabelHint = 1403;
constexpr int kBanner = 1404;
constexpr int kRule = 1405;

// Caption labels, rows top to bottom, painted as the labels above
constexpr int kCaptionLccPath = 1410;
constexpr int kCaptionKtvPath = 1411;
constexpr int kCaptionBasFile = 1412;
constexpr int kCaptionLibs = 1413;
constexpr int kCaptionCmd = 1414;
constexpr int kCaptionCompileAs = 1415;
constexpr int kCaptionOnError = 1416;
constexpr int kCaptionOnSuccess = 1417;

}  // namespace ktv::ids
