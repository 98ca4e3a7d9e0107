// Resource identifiers shared by MokeMemo.rc and the C++ code.
#pragma once

// The program's icon: 32 x 32 and 16 x 16, each in 256 and 16 colours.
// Shown by the shell for the executable and by the About box.
#define IDI_PROGRAM 1
// The main window's design-time icon: 16 x 16, 16 colours.
#define IDI_MAINFORM 2

// ImageList1: ten 16 x 16 images side by side (160 x 16, 24-bit colour).
// Pixels of #FF00FF are transparent.
#define IDB_IMAGELIST1 100
// CoolBar1's background: 55 x 45, 256 colours.
#define IDB_COOLBAR_BACK 101
