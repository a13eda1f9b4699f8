// The colour selector: the selection, its keys, the palette's place on the
// screen, presses on the open palette, and what swatch and palette paint.

#include "support/TestRegistry.h"

#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Twips.h"
#include "shell/KroColorSelector.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QTest>
#include <cmath>

namespace {

struct SelectorWindow {
    QWidget form;
    KroColorSelector* control;
    QLineEdit* other;
    SelectorWindow() : control(new KroColorSelector(&form)), other(new QLineEdit(&form))
    {
        control->move(10, 10);
        other->move(10, 60);
        form.resize(300, 120);
        form.show();
        form.activateWindow();
    }
};

}  // namespace

class TestKroColorSelector : public QObject {
    Q_OBJECT

private slots:
    void selectionOutsideThePaletteIsIgnored()
    {
        KroColorSelector control;
        QSignalSpy clicks(&control, &KroColorSelector::Click);
        QCOMPARE(control.SelectedColor(), qint16(0));
        control.SelectedColor(9);
        QCOMPARE(control.SelectedColor(), qint16(9));
        control.SelectedColor(16);
        control.SelectedColor(-1);
        QCOMPARE(control.SelectedColor(), qint16(9));
        QCOMPARE(clicks.size(), 0);
    }

    void paletteIsTheClassicSixteen()
    {
        QCOMPARE(KroColorSelector::PaletteColor(0), QColor(0, 0, 0));
        QCOMPARE(KroColorSelector::PaletteColor(1), QColor(0, 0, 128));
        QCOMPARE(KroColorSelector::PaletteColor(7), QColor(192, 192, 192));
        QCOMPARE(KroColorSelector::PaletteColor(8), QColor(128, 128, 128));
        QCOMPARE(KroColorSelector::PaletteColor(12), QColor(255, 0, 0));
        QCOMPARE(KroColorSelector::PaletteColor(15), QColor(255, 255, 255));
    }

    void keysStepAndStopAtTheEnds_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("clicks");
        QTest::newRow("down") << 3 << int(Qt::Key_Down) << 0 << 4 << 1;
        QTest::newRow("up") << 3 << int(Qt::Key_Up) << 0 << 2 << 1;
        QTest::newRow("down at 15") << 15 << int(Qt::Key_Down) << 0 << 15 << 0;
        QTest::newRow("up at 0") << 0 << int(Qt::Key_Up) << 0 << 0 << 0;
        QTest::newRow("ctrl+down steps too") << 3 << int(Qt::Key_Down) << int(Qt::ControlModifier) << 4 << 1;
        QTest::newRow("other key") << 3 << int(Qt::Key_Right) << 0 << 3 << 0;
    }
    void keysStepAndStopAtTheEnds()
    {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, expected);
        QFETCH(int, clicks);
        SelectorWindow window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        window.control->SelectedColor(qint16(start));
        window.control->picSelection->setFocus();
        QSignalSpy spy(window.control, &KroColorSelector::Click);
        QTest::keyClick(window.control->picSelection, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(int(window.control->SelectedColor()), expected);
        QCOMPARE(int(spy.size()), clicks);
        QVERIFY(!window.control->PaletteShown());
    }

    void altKeysAndTheButtonToggleThePalette()
    {
        SelectorWindow window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        window.control->picSelection->setFocus();
        QTest::keyClick(window.control->picSelection, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(window.control->PaletteShown());
        // Keys reach the open palette and work the same.
        QSignalSpy clicks(window.control, &KroColorSelector::Click);
        QTest::keyClick(window.control->picPopup, Qt::Key_Down);
        QCOMPARE(window.control->SelectedColor(), qint16(1));
        QCOMPARE(clicks.size(), 1);
        QTest::keyClick(window.control->picPopup, Qt::Key_Up, Qt::AltModifier);
        QVERIFY(!window.control->PaletteShown());
        QTRY_COMPARE(QApplication::focusWidget(), window.control->picSelection);
        QTest::mouseClick(window.control->cmdPopup, Qt::LeftButton);
        QVERIFY(window.control->PaletteShown());
        window.control->KeyDown(40, 4);  // Alt+Down again, as the swatch passes it on
        QVERIFY(!window.control->PaletteShown());
        QTRY_COMPARE(QApplication::focusWidget(), window.control->picSelection);
    }

    void palettePlace_data()
    {
        QTest::addColumn<QRect>("control");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("below") << QRect(100, 100, 169, 17) << QPoint(100, 117);
        QTest::newRow("above near the bottom") << QRect(100, 560, 169, 17) << QPoint(100, 344);
        QTest::newRow("shifted left at the right edge") << QRect(700, 100, 169, 17) << QPoint(631, 117);
        QTest::newRow("left edge off the screen") << QRect(-20, 100, 169, 17) << QPoint(0, 117);
        QTest::newRow("tall screen-high control stays on screen") << QRect(0, 150, 169, 440) << QPoint(0, 0);
    }
    void palettePlace()
    {
        QFETCH(QRect, control);
        QFETCH(QPoint, expected);
        QCOMPARE(KroColorSelector::PlacePalette(control, QSize(169, 216), QSize(800, 600)), expected);
    }

    void narrowPaletteAlignsRightEdges()
    {
        QCOMPARE(KroColorSelector::PlacePalette(QRect(100, 100, 300, 17), QSize(169, 216), QSize(800, 600)),
                 QPoint(231, 117));
        QCOMPARE(KroColorSelector::PlacePalette(QRect(700, 100, 300, 17), QSize(169, 216), QSize(800, 600)),
                 QPoint(631, 117));
        QCOMPARE(KroColorSelector::PlacePalette(QRect(-200, 100, 300, 17), QSize(169, 216), QSize(800, 600)),
                 QPoint(0, 117));
    }

    void pressesOnTheOpenPalette()
    {
        SelectorWindow window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        KroColorSelector& control = *window.control;
        control.SelectedColor(2);
        QSignalSpy clicks(&control, &KroColorSelector::Click);
        QWidget* palette = control.picPopup;
        const int row = palette->height() / 16;

        QTest::mouseClick(control.cmdPopup, Qt::LeftButton);
        QVERIFY(control.PaletteShown());
        QTest::mousePress(palette, Qt::RightButton, {}, QPoint(20, 9 * row + row / 2));
        QVERIFY(control.PaletteShown());
        QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(-5, 10));
        QVERIFY(!control.PaletteShown());
        QCOMPARE(control.SelectedColor(), qint16(2));
        QCOMPARE(clicks.size(), 0);

        QTest::mouseClick(control.cmdPopup, Qt::LeftButton);
        QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(20, 9 * row + row / 2));
        QVERIFY(!control.PaletteShown());
        QCOMPARE(control.SelectedColor(), qint16(9));
        QCOMPARE(clicks.size(), 1);

        // The bottom edge itself is the last row, never a 17th colour.
        QTest::mouseClick(control.cmdPopup, Qt::LeftButton);
        QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(20, palette->height()));
        QCOMPARE(control.SelectedColor(), qint16(15));
        QCOMPARE(KroColorSelector::PaletteRowAt(0, 216), 0);
        QCOMPARE(KroColorSelector::PaletteRowAt(215, 216), 15);
        QCOMPARE(KroColorSelector::PaletteRowAt(216, 216), 15);
    }

    void tabbingAwayClosesThePalette()
    {
        SelectorWindow window;
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        QTest::mouseClick(window.control->cmdPopup, Qt::LeftButton);
        QVERIFY(window.control->PaletteShown());
        QTest::keyClick(window.control->picPopup, Qt::Key_Tab);
        QVERIFY(!window.control->PaletteShown());
        QTRY_COMPARE(QApplication::focusWidget(), window.other);
        // The focus moving elsewhere by other means closes it too.
        QTest::mouseClick(window.control->cmdPopup, Qt::LeftButton);
        QVERIFY(window.control->PaletteShown());
        window.other->setFocus();
        QVERIFY(!window.control->PaletteShown());
    }

    void layoutAndPainting()
    {
        KroColorSelector control;
        control.resize(169, 19);
        control.show();
        const int button = control.cmdPopup->width();
        QCOMPARE(control.cmdPopup->geometry(), QRect(169 - button, 0, button, 19));
        QCOMPARE(control.picSelection->geometry(), QRect(0, 0, 169 - button - 1, 19));
        QCOMPARE(control.picPopup->width(), 169);
        control.SelectedColor(12);
        const QImage swatch = control.picSelection->grab().toImage();
        QCOMPARE(swatch.pixelColor(2, 2), QColor(255, 0, 0));
        QCOMPARE(swatch.pixelColor(swatch.width() - 4, swatch.height() - 4), QColor(255, 0, 0));
        QCOMPARE(swatch.pixelColor(1, 1), control.picSelection->palette().color(QPalette::Window));
        QCOMPARE(swatch.pixelColor(swatch.width() - 3, swatch.height() - 3),
                 control.picSelection->palette().color(QPalette::Window));

        const QImage palette = control.picPopup->grab().toImage();
        // Rows of whole twips each.
        const double tpp = platform::TwipsPerPixelY();
        const double row = std::floor(palette.height() * tpp / 16) / tpp;
        for (int i = 0; i < 16; ++i)
            QCOMPARE(palette.pixelColor(palette.width() / 2, int((i + 0.5) * row)), KroColorSelector::PaletteColor(i));
        QCOMPARE(palette.pixelColor(1, int(row / 2)), QColor(Qt::black));  // the outline

        control.hide();
        control.resize(5, 19);  // narrower than the button: no negative swatch
        control.show();
        QCOMPARE(control.picSelection->width(), 0);
    }

    void aboutBox()
    {
        KroColorSelector control;
        platform::ScriptedAnswers answers;
        control.ShowAbout();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("KroColorSelector"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbOKOnly);
        QCOMPARE(answers.msgBoxes()[0].prompt.split(QStringLiteral("\r\n\r\n")).size(), 4);
    }
};

REGISTER_TEST(TestKroColorSelector);
#include "tst_KroColorSelector.moc"
