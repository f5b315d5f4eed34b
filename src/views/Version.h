#pragma once

// The one place the release's version is written. The three programs'
// version resources (app/VersionInfo.rc2), their manifests' numbers and
// ./package (installer, uninstall entry, winget manifests) all take it from
// here, so a release is renumbered in one edit. Read by resource scripts
// and by the package script's pattern match: keep to plain #defines.

#define KTV_PRODUCT_NAME "KTV Debugger"
// What the user sees: the About box, the window's caption, the uninstall
// entry's DisplayVersion.
#define KTV_VERSION_TEXT "3.001"
// The same as four numbers, for the version resource and the manifests.
#define KTV_VERSION_NUMBERS 3, 0, 0, 1
#define KTV_VERSION_DOTTED "3.0.0.1"
#define KTV_PUBLISHER "KTV Debugger project"
