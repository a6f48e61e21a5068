// Identifiers of the about box. Shared by the resource script and the program.
#pragma once

#define IDD_ABOUT 22000
#define IDC_ABOUT_VERSION 22001    // "Version", then the product version
#define IDC_ABOUT_COPYRIGHT 22002  // the legal notice
#define IDC_ABOUT_BUILD 22003      // the special build line
