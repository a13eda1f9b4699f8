#pragma once
// Paints a progress bar onto a window or a painter the caller gives: plain,
// in blocks (Segments) or in the style's look (XpStyle), with pictures for
// the background and the bar (tiled or stretched), a caption that changes
// colour where the bar passes under it, and three border looks. It paints
// through an off-screen surface, so the target never shows half a bar.
//
// Colours are stored as the forms store them (platform/forms/OleColor.h);
// the default -1 names no system colour and paints in the style's base
// colour (background) and highlight colour (bar).

#include "shell/pcMemDC.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QPainter;
class QWidget;

class cProgressBar : public QObject {
    Q_OBJECT
public:
    cProgressBar();
    ~cProgressBar() override;

    const QString& Tag() const { return tag_; }
    void Tag(const QString& tag) { tag_ = tag; }  // no repaint
    bool Segments() const { return segments_; }
    void Segments(bool on);
    bool XpStyle() const { return xpStyle_; }
    void XpStyle(bool on);
    const QString& Text() const { return text_; }
    void Text(const QString& text);
    qint32 TextAlignX() const { return textAlignX_; }
    void TextAlignX(qint32 align);
    qint32 TextAlignY() const { return textAlignY_; }
    void TextAlignY(qint32 align);
    bool ShowText() const { return showText_; }
    void ShowText(bool on);
    // (Value - Min) / (Max - Min) x 100, kept within 0 to 100; 0 when Max
    // equals Min.
    double Percent() const;
    qint32 Min() const { return min_; }
    void Min(qint32 value);
    qint32 Max() const { return max_; }
    void Max(qint32 value);
    qint32 Value() const { return value_; }
    void Value(qint32 value);
    qint32 BorderStyle() const { return borderStyle_; }  // 0 none, 1 sunken, 2 raised
    void BorderStyle(qint32 style);
    qint32 Appearance() const { return appearance_; }    // 0 flat, 1 thin 3D, 2 thick 3D
    void Appearance(qint32 appearance);
    // The window painted on by Draw (and at its every repaint); null: none.
    QWidget* DrawObject() const { return drawObject_; }
    void DrawObject(QWidget* window);
    // Paints onto DrawObject's whole client area; nothing without one.
    void Draw();
    // Paints into the rectangle (right and bottom exclusive) of target;
    // styleSource (may be null) gives the style and palette.
    void DrawToDC(const QWidget* styleSource, QPainter& target, int left, int top, int right, int bottom);
    quint32 BackColor() const { return backColor_; }
    void BackColor(quint32 color);
    quint32 ForeColor() const { return foreColor_; }
    void ForeColor(quint32 color);
    QFont Font() const { return font_; }
    void Font(const QFont& font);
    quint32 BarColor() const { return barColor_; }
    void BarColor(quint32 color);
    quint32 BarForeColor() const { return barForeColor_; }
    void BarForeColor(quint32 color);
    // A picture for the bar / the background (a null image drops it).
    void BarPicture(const QImage& picture);
    qint32 BarPictureMode() const { return barPictureMode_; }  // 1 tile, else stretch
    void BarPictureMode(qint32 mode);
    qint32 BackPictureMode() const { return backPictureMode_; }
    void BackPictureMode(qint32 mode);
    void Picture(const QImage& picture);

    // Copies the part (x, y, width, height) of target from source repeated
    // from its origin, shifted by the offsets.
    static void TileBitmap(QPainter& target, int x, int y, int width, int height, const QImage& source,
                           int sourceWidth, int sourceHeight, int offsetX, int offsetY);

signals:
    // DrawObject was painted anew (what Draw did).
    void Painted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double Fraction() const;
    void SetAndDraw();

    QString tag_;
    bool segments_ = false;
    bool xpStyle_ = false;
    QString text_;
    qint32 textAlignX_ = 1;
    qint32 textAlignY_ = 1;
    bool showText_ = false;
    qint32 min_ = 0;
    qint32 max_ = 100;
    qint32 value_ = 0;
    qint32 borderStyle_ = 1;
    qint32 appearance_ = 1;
    QPointer<QWidget> drawObject_;
    quint32 backColor_ = 0xFFFFFFFFu;
    quint32 foreColor_ = 0;
    QFont font_;
    quint32 barColor_ = 0xFFFFFFFFu;
    quint32 barForeColor_ = 0xFFFFFF;
    qint32 barPictureMode_ = 1;
    qint32 backPictureMode_ = 1;
    std::unique_ptr<pcMemDC> backPicture_;
    std::unique_ptr<pcMemDC> barPicture_;
    pcMemDC buffer_;
    QImage frame_;  // what DrawObject shows
};
