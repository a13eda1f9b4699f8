#pragma once
// Helpers for tests of how forms meet the user's desktop: a larger font, and
// the keyboard alone.

#include <QApplication>
#include <QFont>
#include <QTest>
#include <QWidget>

// The application font at POINTS for the guard's life, as a desktop with a
// larger default font gives it (0 keeps the font as it is).
class DesktopFontSize {
public:
    explicit DesktopFontSize(int points) : previous_(QApplication::font())
    {
        QFont font = previous_;
        if (points > 0)
            font.setPointSize(points);
        QApplication::setFont(font);
    }
    ~DesktopFontSize() { QApplication::setFont(previous_); }
    DesktopFontSize(const DesktopFontSize&) = delete;
    DesktopFontSize& operator=(const DesktopFontSize&) = delete;

private:
    QFont previous_;
};

// Presses Tab (or Shift+Tab) in whatever has the focus until the target has
// it; false when a round of the dialog never reaches it.
inline bool TabTo(QWidget* target, bool back = false)
{
    for (int step = 0; step < 16 && QApplication::focusWidget() != target; ++step) {
        if (back)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();  // a pane may hand its focus on later
    }
    return QApplication::focusWidget() == target;
}
