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

double dpiX()
{
    const QScreen* screen = primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : FallbackDpi;
    return dpi > 0 ? dpi : FallbackDpi;
}

double dpiY()
{
    const QScreen* screen = primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : FallbackDpi;
    return dpi > 0 ? dpi : FallbackDpi;
}

}  // namespace

double TwipsPerPixelX() { return TwipsPerInch / dpiX(); }
double TwipsPerPixelY() { return TwipsPerInch / dpiY(); }

int TwipsToPixelsX(double twips) { return int(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(double twips) { return int(std::lround(twips / TwipsPerPixelY())); }
double PixelsToTwipsX(double pixels) { return pixels * TwipsPerPixelX(); }
double PixelsToTwipsY(double pixels) { return pixels * TwipsPerPixelY(); }

}  // namespace platform
