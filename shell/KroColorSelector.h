#pragma once
// A drop-down colour picker: a swatch of the selected colour, a drop button,
// and a palette of the 16 classic colours in a floating window. The
// selection is an index 0 to 15 into that palette.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

class QToolButton;

class KroColorSelector : public QWidget {
    Q_OBJECT
public:
    explicit KroColorSelector(QWidget* parent = nullptr);
    ~KroColorSelector() override;

    void ShowAbout();
    // 0 to 15 selects and repaints; any other value is ignored. No Click.
    void SelectedColor(qint16 New_SelectedColor);
    qint16 SelectedColor() const { return selectedColor_; }

    // Palette entry index (0 to 15).
    static QColor PaletteColor(int index);
    // Where the palette goes on the screen (all in pixels): below the
    // control, or above when it would leave the screen's bottom; its left
    // edge on the control's, kept on the screen.
    static QPoint PlacePalette(const QRect& control, const QSize& palette, const QSize& screen);
    // The row a press at y (pixels) picks in a palette h pixels high: 0 to 15.
    static int PaletteRowAt(int y, int paletteHeight);

    bool PaletteShown() const;

    QWidget* picSelection;
    QToolButton* cmdPopup;
    QWidget* picPopup;

    // Key handling shared by the control, the swatch and the open palette
    // (virtual-key code and shift mask); true when the key was used.
    bool KeyDown(int keyCode, int shift);

signals:
    // The user changed the selection.
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class KroColorPalette;
    void cmdPopup_Click();
    void ShowPalette();
    // keepFocus: the swatch takes the focus back (not when the focus left).
    void HidePalette(bool keepFocus = true);
    void PaintSwatch(QPainter& painter);
    void PaintPalette(QPainter& painter);
    // A press on the open palette at (x, y), in its own pixels.
    void PalettePress(Qt::MouseButton button, QPoint position);

    qint16 selectedColor_ = 0;
};
