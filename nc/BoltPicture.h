#pragma once
// The bolt circle's drawing surface: the circle at its centre and a filled disc per hole, on a
// third of full size (480 twips to a unit of length), so an inch drawing shows a third of an
// inch to the unit. A pattern that does not fit the surface on that scale (a metric job, say)
// is drawn smaller, all of it on one scale, to fit with a margin: the picture is never blank.

#include "nc/BoltCircle.h"

#include <QWidget>

#include <optional>

class BoltPicture : public QWidget {
    Q_OBJECT
public:
    explicit BoltPicture(QWidget* parent = nullptr);

    // Empties the surface.
    void Cls();
    // Draws the circle and the holes of input (holes 1 or more).
    void DrawBoltCircle(const BoltInput& input);

    bool HasDrawing() const { return drawing_.has_value(); }

    // Twips to a unit of length, where the pattern fits.
    static constexpr double Scale = 480;
    // Pixels kept free at each edge when a pattern is drawn smaller to fit.
    static constexpr double Margin = 8;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Drawing {
        BoltInput input;
        std::vector<BoltHole> holes;
        // How far the pattern reaches from its centre, across and up, in units of length.
        double reachX = 0;
        double reachY = 0;
    };
    std::optional<Drawing> drawing_;
};
