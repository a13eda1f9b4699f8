#include "nc/BoltPicture.h"

#include "platform/forms/Twips.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

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
    Drawing drawing{input, DrawnBoltHoles(input)};
    // The hole's diameter is its drawn radius.
    const double holeRadius = std::fabs(static_cast<double>(input.holeDiameter));
    const double radius = std::fabs(static_cast<double>(input.diameter)) / 2;
    drawing.reachX = drawing.reachY = radius;
    for (const BoltHole& hole : drawing.holes) {
        drawing.reachX = std::max(drawing.reachX, std::fabs(static_cast<double>(hole.x)) + holeRadius);
        drawing.reachY = std::max(drawing.reachY, std::fabs(static_cast<double>(hole.y)) + holeRadius);
    }
    drawing_ = std::move(drawing);
    update();
}

void BoltPicture::paintEvent(QPaintEvent*)
{
    if (!drawing_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    double perUnitX = Scale / platform::TwipsPerPixelX();
    double perUnitY = Scale / platform::TwipsPerPixelY();
    const QPointF centre(width() / 2.0, height() / 2.0);

    // One factor for the whole pattern, so that it keeps its shape; 1 where it fits.
    const double roomX = std::max(centre.x() - Margin, 0.0);
    const double roomY = std::max(centre.y() - Margin, 0.0);
    double fit = 1;
    if (drawing_->reachX * perUnitX > roomX)
        fit = roomX / (drawing_->reachX * perUnitX);
    if (drawing_->reachY * perUnitY > roomY)
        fit = std::min(fit, roomY / (drawing_->reachY * perUnitY));
    perUnitX *= fit;
    perUnitY *= fit;

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    const double radius = std::fabs(static_cast<double>(drawing_->input.diameter)) / 2;
    painter.drawEllipse(centre, radius * perUnitX, radius * perUnitY);

    painter.setBrush(Qt::black);
    const double holeRadius = std::fabs(static_cast<double>(drawing_->input.holeDiameter));
    for (const BoltHole& hole : drawing_->holes)
        painter.drawEllipse(QPointF(centre.x() + hole.x * perUnitX, centre.y() + hole.y * perUnitY),
                            holeRadius * perUnitX, holeRadius * perUnitY);
}
