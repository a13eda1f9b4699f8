#include "platform/forms/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace platform {
namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double FallbackDpi = 96.0;

const QScreen* primaryScreen()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::primaryScreen();
}

double dpi(bool horizontal)
{
    const QScreen* screen = primaryScreen();
    const double dots = !screen      ? FallbackDpi
                        : horizontal ? screen->logicalDotsPerInchX()
                                     : screen->logicalDotsPerInchY();
    return dots > 0 ? dots : FallbackDpi;
}

}  // namespace

double TwipsPerPixelX() { return TwipsPerInch / dpi(true); }
double TwipsPerPixelY() { return TwipsPerInch / dpi(false); }

int TwipsToPixelsX(double twips) { return int(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(double twips) { return int(std::lround(twips / TwipsPerPixelY())); }
double PixelsToTwipsX(double pixels) { return pixels * TwipsPerPixelX(); }
double PixelsToTwipsY(double pixels) { return pixels * TwipsPerPixelY(); }

}  // namespace platform
