#include "shell/pcMemDC.h"

#include <QPainter>

void pcMemDC::Width(int width)
{
    if (width == width_)
        return;
    width_ = width;
    EnsureSurface();
}

void pcMemDC::Height(int height)
{
    if (height == height_)
        return;
    height_ = height;
    EnsureSurface();
}

void pcMemDC::EnsureSurface()
{
    if (surface_.isNull()) {
        if (width_ > 0 && height_ > 0)
            CreateSurface(width_, height_);
    } else if (width_ > surface_.width() || height_ > surface_.height()) {
        CreateSurface(width_, height_);
    }
}

QImage* pcMemDC::hDC(int width, int height)
{
    if (!surface_.isNull()) {
        if (width > width_ || height > height_)
            CreateSurface(width, height);
    } else if (width > 0 && height > 0) {
        CreateSurface(width, height);
    }
    return surface_.isNull() ? nullptr : &surface_;
}

void pcMemDC::Draw(QPainter& target, int sourceX, int sourceY, int width, int height, int destX, int destY) const
{
    if (surface_.isNull())
        return;
    const int w = width > 0 ? width : width_;
    const int h = height > 0 ? height : height_;
    target.drawImage(QPoint(destX, destY), surface_, QRect(sourceX, sourceY, w, h));
}

void pcMemDC::CreateFromPicture(const QImage& picture)
{
    Width(picture.width());
    Height(picture.height());
    if (surface_.isNull())
        return;
    QPainter painter(&surface_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture);
}

void pcMemDC::CreateSurface(int width, int height)
{
    DestroySurface();
    QImage surface(width, height, QImage::Format_ARGB32_Premultiplied);
    if (surface.isNull())
        return;  // no memory for it: callers paint straight to their target
    surface.fill(Qt::transparent);
    surface_ = std::move(surface);
    width_ = width;
    height_ = height;
}

void pcMemDC::DestroySurface()
{
    surface_ = QImage();
    width_ = 0;
    height_ = 0;
}
