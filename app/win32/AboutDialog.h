#pragma once
// The about box ("Tavro.AboutDialog"): product, version, rights notice, the homepage link and
// the licence text, modal over the main window. Nothing is stored.

#include <windows.h>

#include <string>

namespace tvx {

struct AboutDialogTexts {
    std::u16string title;
    std::u16string versionLabel;
    std::u16string homepageLabel;
    std::u16string licenseHeading;
    std::u16string close;
};

// Returns when the box is closed. Clicking the homepage line opens it in the browser and
// leaves the box open.
void RunAboutDialog(HWND owner, HINSTANCE instance, const AboutDialogTexts& texts);

}  // namespace tvx
