#include "nc/BoltAngleDiagram.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Margin = 8;
// Between a spoke's end and its label.
constexpr int LabelGap = 6;
// Between a label and the frame's line.
constexpr int EdgeGap = 2;

}  // namespace

BoltAngleDiagram::BoltAngleDiagram(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    for (std::size_t i = 0; i < lblAngle.size(); ++i) {
        const QString text = i == 0 ? QStringLiteral("0 degrees") : QString::number(45 * i);
        lblAngle[i] = new QLabel(text, this);
        lblAngle[i]->setObjectName(QStringLiteral("lblAngle%1").arg(i));
        lblAngle[i]->adjustSize();
    }
    lblNote = new QLabel(QStringLiteral("First hole position starts in a CCW direction from 0 to any degrees."), this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    lblNote->setAlignment(Qt::AlignCenter);
}

QPointF BoltAngleDiagram::Centre() const
{
    const int noteHeight = lblNote->heightForWidth(std::max(1, width() - 2 * int(Margin)));
    return QPointF(width() / 2.0, (height() - noteHeight - Margin) / 2.0);
}

double BoltAngleDiagram::SpokeLength() const
{
    const QPointF c = Centre();
    // Room for a label beyond the end of each spoke and its gap, in the font
    // in use: "0 degrees" at three o'clock is the widest. The reserves our
    // own font needs stay the least, so the drawing keeps its size there.
    int labelWidth = 0;
    int labelHeight = 0;
    for (const QLabel* label : lblAngle) {
        labelWidth = std::max(labelWidth, label->sizeHint().width());
        labelHeight = std::max(labelHeight, label->sizeHint().height());
    }
    const double across = std::max(70, LabelGap + labelWidth + frameWidth() + EdgeGap);
    const double down = std::max(24, LabelGap + labelHeight + frameWidth() + EdgeGap);
    return std::max(10.0, std::min(c.x() - across, c.y() - down));
}

void BoltAngleDiagram::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const int noteWidth = std::max(1, width() - 2 * int(Margin));
    const int noteHeight = lblNote->heightForWidth(noteWidth);
    lblNote->setGeometry(int(Margin), height() - noteHeight - int(Margin), noteWidth, noteHeight);
    const QPointF c = Centre();
    const double length = SpokeLength() + LabelGap;
    for (std::size_t i = 0; i < lblAngle.size(); ++i) {
        const double angle = 45.0 * static_cast<double>(i) * std::numbers::pi / 180.0;
        const QPointF end(c.x() + length * std::cos(angle), c.y() - length * std::sin(angle));
        QLabel* label = lblAngle[i];
        const QSize size = label->sizeHint();
        // Beside the spoke's end, away from the centre.
        const double x = end.x() + (std::cos(angle) > 0.3 ? 0 : std::cos(angle) < -0.3 ? -size.width() : -size.width() / 2.0);
        const double y = end.y() + (std::sin(angle) > 0.3 ? -size.height() : std::sin(angle) < -0.3 ? 0 : -size.height() / 2.0);
        label->setGeometry(int(x), int(y), size.width(), size.height());
    }
}

void BoltAngleDiagram::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    const QPointF c = Centre();
    const double length = SpokeLength();
    painter.drawEllipse(c, length / 3, length / 3);
    for (int i = 0; i < 8; ++i) {
        const double angle = 45.0 * i * std::numbers::pi / 180.0;
        painter.drawLine(c, QPointF(c.x() + length * std::cos(angle), c.y() - length * std::sin(angle)));
    }
}
