#pragma once
// An off-screen drawing surface of a given size, kept and reused between
// paints; it only grows.

#include <QImage>

class QPainter;

class pcMemDC {
public:
    int Width() const { return width_; }
    void Width(int width);
    int Height() const { return height_; }
    void Height(int height);
    // The surface for painting width x height: an existing one is made anew
    // at exactly that size when either is larger than it is; without one,
    // one is made when both are positive. Null when there is none.
    QImage* hDC(int width, int height);
    // Copies the surface from (sourceX, sourceY) to (destX, destY) of
    // target; a width or height of 0 or less means the surface's own.
    void Draw(QPainter& target, int sourceX, int sourceY, int width, int height, int destX, int destY) const;
    // The surface becomes a copy of picture, at its size.
    void CreateFromPicture(const QImage& picture);
    // The surface (null image when there is none).
    const QImage& Surface() const { return surface_; }

private:
    void EnsureSurface();
    void CreateSurface(int width, int height);
    void DestroySurface();

    QImage surface_;
    int width_ = 0;
    int height_ = 0;
};
