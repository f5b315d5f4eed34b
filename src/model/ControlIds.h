#pragma once

// Control IDs of the main window. The window gives each control its ID here,
// and the end-to-end tests find controls by the same numbers.
namespace ktv::ids {

// Text fields
constexpr int kLccDirectoryField = 1001;
constexpr int kKtvDirectoryField = 1002;
constexpr int kBasicFileField = 1003;
constexpr int kLibrariesField = 1004;
constexpr int kCommandLineField = 1005;
constexpr int kEditorCommandField = 1006;  // an editable drop-down

// Option buttons
constexpr int kGuiOption = 1101;
constexpr int kConsoleOption = 1102;
constexpr int kDllOption = 1103;

// Check boxes
constexpr int kCheckWarningsBox = 1201;
constexpr int kLaunchNotepadBox = 1202;
constexpr int kLaunchJfeBox = 1203;
constexpr int kLaunchConTextBox = 1204;
constexpr int kRunProgramBox = 1205;
constexpr int kDebugInWeditBox = 1206;
constexpr int kLaunchMyEditorBox = 1207;

// Buttons
constexpr int kBrowseLccButton = 1301;
constexpr int kBrowseKtvButton = 1302;
constexpr int kBrowseBasicFileButton = 1303;
constexpr int kBrowseLibrariesButton = 1304;
constexpr int kExitButton = 1305;
constexpr int kAboutButton = 1306;
constexpr int kDebugButton = 1307;
constexpr int kBrowseEditorButton = 1308;

// The status bar along the bottom edge: the step of a run, or how it ended.
constexpr int kStatusBar = 1501;

// The title over the banner, the banner and the rule: places in the layout
// that the window paints. The hint under the libraries is a label window.
constexpr int kTitleLabel = 1401;
constexpr int kSubtitleLabel = 1402;
constexpr int kLibrariesHint = 1403;
constexpr int kBanner = 1404;
constexpr int kRule = 1405;

// Caption labels, rows top to bottom: each a label window right before the
// field or group it names
constexpr int kLccDirectoryLabel = 1410;
constexpr int kKtvDirectoryLabel = 1411;
constexpr int kBasicFileLabel = 1412;
constexpr int kLibrariesLabel = 1413;
constexpr int kCommandLineLabel = 1414;
constexpr int kCompileAsLabel = 1415;
constexpr int kOnErrorLabel = 1416;
constexpr int kOnSuccessLabel = 1417;
constexpr int kEditorCommandLabel = 1418;

}  // namespace ktv::ids
