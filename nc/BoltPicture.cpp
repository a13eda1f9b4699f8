#include "nc/BoltPicture.h"

#include "platform/forms/Twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// How a circle of radius r around c meets the area: the nearest and farthest distances from c
// to a point of the area.
struct Reach {
    double nearest;
    double farthest;
};

Reach ReachOf(const QPointF& c, const QRectF& area)
{
    const double dx = std::max({area.left() - c.x(), 0.0, c.x() - area.right()});
    const double dy = std::max({area.top() - c.y(), 0.0, c.y() - area.bottom()});
    const double fx = std::max(std::fabs(c.x() - area.left()), std::fabs(c.x() - area.right()));
    const double fy = std::max(std::fabs(c.y() - area.top()), std::fabs(c.y() - area.bottom()));
    return Reach{std::hypot(dx, dy), std::hypot(fx, fy)};
}

}  // namespace

BoltPicture::BoltPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicBolt"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void BoltPicture::Cls()
{
    drawing_.reset();
    update();
}

void BoltPicture::DrawBoltCircle(const BoltInput& input)
{
    drawing_ = Drawing{input, DrawnBoltHoles(input)};
    update();
}

void BoltPicture::paintEvent(QPaintEvent* event)
{
    if (!drawing_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(event->rect()).adjusted(-1, -1, 1, 1);
    const double perUnitX = Scale / platform::TwipsPerPixelX();
    const double perUnitY = Scale / platform::TwipsPerPixelY();
    const QPointF centre(width() / 2.0, height() / 2.0);

    // Shapes far beyond the surface are left out, so that a huge circle costs nothing and never
    // reaches the painter with coordinates it cannot take.
    const auto circle = [&](const QPointF& c, double rx, double ry, bool filled) {
        const double r = std::max(rx, ry);
        if (!std::isfinite(c.x()) || !std::isfinite(c.y()) || !std::isfinite(r))
            return;
        const Reach reach = ReachOf(c, area);
        if (reach.nearest > r || (!filled && reach.farthest < std::min(rx, ry)))
            return;
        if (filled && std::min(rx, ry) >= reach.farthest) {
            painter.fillRect(area, painter.brush());
            return;
        }
        painter.drawEllipse(c, rx, ry);
    };

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    const double radius = std::fabs(static_cast<double>(drawing_->input.diameter)) / 2;
    circle(centre, radius * perUnitX, radius * perUnitY, false);

    painter.setBrush(Qt::black);
    const double holeRadius = std::fabs(static_cast<double>(drawing_->input.holeDiameter));
    for (const BoltHole& hole : drawing_->holes)
        circle(QPointF(centre.x() + hole.x * perUnitX, centre.y() + hole.y * perUnitY), holeRadius * perUnitX,
               holeRadius * perUnitY, true);
}
