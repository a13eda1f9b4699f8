#pragma once
// Twips (1/1440 inch): window and control lengths stored by the programs.
// A pixel is 1440 / the primary screen's logical dpi twips (15 at 96 dpi);
// without a screen, 96 dpi is assumed.

namespace platform {

double TwipsPerPixelX();
double TwipsPerPixelY();

// Twips to pixels rounds to the nearest pixel; pixels to twips is exact.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(double pixels);
double PixelsToTwipsY(double pixels);

}  // namespace platform
