#pragma once
// A paint device that records what is drawn on it: texts with their
// positions, filled rectangles with their colours, and lines.

#include <QColor>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QTextItem>

namespace printtest {

class RecordingEngine : public QPaintEngine {
public:
    struct Text {
        QPointF at;  // baseline start
        QString text;
    };
    struct Fill {
        QRectF rect;
        QColor color;
    };
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyBrush)
            brush_ = state.brush();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override { texts.append({p, item.text()}); }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            fills.append({rects[i], brush_.color()});
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            fills.append({QRectF(rects[i]), brush_.color()});
    }
    void drawLines(const QLineF* items, int count) override
    {
        for (int i = 0; i < count; ++i)
            lines.append(items[i]);
    }
    void drawLines(const QLine* items, int count) override
    {
        for (int i = 0; i < count; ++i)
            lines.append(QLineF(items[i]));
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }

    QList<Text> texts;
    QList<Fill> fills;
    QList<QLineF> lines;

private:
    QBrush brush_;
};

// A 1200 dpi page of 14000 x 9900 dots.
class RecordingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 14000;
        case PdmHeight: return 9900;
        case PdmWidthMM: return 297;
        case PdmHeightMM: return 210;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 1200;
        case PdmDepth: return 32;
        case PdmNumColors: return 0x7fffffff;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }
};

}  // namespace printtest
