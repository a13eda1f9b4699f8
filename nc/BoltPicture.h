#pragma once
// The bolt circle's drawing surface: the circle at its centre and a filled disc per hole, on a
// third of full size (480 twips to a unit of length), so an inch drawing shows a third of an
// inch to the unit. Nothing is scaled to fit: a large circle runs past the edges.

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

    // Twips to a unit of length.
    static constexpr double Scale = 480;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Drawing {
        BoltInput input;
        std::vector<BoltHole> holes;
    };
    std::optional<Drawing> drawing_;
};
