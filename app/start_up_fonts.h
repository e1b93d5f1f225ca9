#pragma once
// The fonts' step of the start-up and of the shutdown: the three fonts in the game's face,
// the second one with the game's centring and letter-image switches, and their digit
// surfaces.

// False when a font or a digit surface cannot be made (the cause is in the error-check log).
bool InitFonts();
// Reports how many full-width characters the first two fonts cached, then releases the
// fonts and the digit surfaces.
void UnInitFonts();
