#pragma once
// The angle diagram the bolt-circle window shows before its first calculation: eight spokes
// labelled from "0 degrees" to "315", counter-clockwise from three o'clock, and a note on where
// the first hole starts.

#include <QFrame>
#include <array>

class QLabel;

class BoltAngleDiagram : public QFrame {
    Q_OBJECT
public:
    explicit BoltAngleDiagram(QWidget* parent = nullptr);

    // "0 degrees", "45", ... "315", in that order.
    std::array<QLabel*, 8> lblAngle{};
    QLabel* lblNote = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointF Centre() const;
    double SpokeLength() const;
};
