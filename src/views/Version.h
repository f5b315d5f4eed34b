#pragma once

// The one place the release's version is written. The three programs'
// version resources (app/VersionInfo.rc2) and manifests, the start-up error
// box and ./package (installer, uninstall entry, winget manifests) all take
// it from here, so a release is renumbered in one edit. Read by resource
// scripts, by cmake/Version.cmake and by the packaging scripts' pattern
// match: keep each to one plain #define line.

#define KTV_PRODUCT_NAME "KTV Debugger"
// What the user sees: the main window's caption ("KTV Debugger 3.001"), the
// version resource's texts and the uninstall entry's DisplayVersion.
#define KTV_VERSION_TEXT "3.001"
// The same as four numbers, for the version resource and the manifests.
#define KTV_VERSION_NUMBERS 3, 0, 0, 1
#define KTV_VERSION_DOTTED "3.0.0.1"
#define KTV_PUBLISHER "KTV Debugger project"
