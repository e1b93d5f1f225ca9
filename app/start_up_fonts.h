#pragma once
// The fonts' step of the start-up and of the shutdown: the three fonts in the game's face,
// the second one with the game's centring and letter-image switches, and their digit
// surfaces.

// False when a font or a digit surface cannot be made (the cause is in the error-check log).
bool InitFonts();
// While the graphics layer is up: how many full-width characters the first two fonts added to
// their sheets, for each that has one.
void ReportFontCaches();
// Releases the fonts and the digit surfaces.
void ReleaseFonts();
