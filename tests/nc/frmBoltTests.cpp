#include "document/frmNotePad.h"
#include "nc/BoltAngleDiagram.h"
#include "nc/BoltCircle.h"
#include "nc/BoltPicture.h"
#include "nc/FrameFixture.h"
#include "nc/frmBolt.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Twips.h"
#include "shell/MEditCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <iterator>
#include <utility>

#include "support/DesktopFont.h"
#include "support/TestRegistry.h"

namespace {

const QByteArray FourHoles = "G00G90\r\nX0Y0\r\nX50Y0\r\nX0Y50\r\nX-50Y0\r\nX0Y-50\r\n"
                             "(Bolt circle diameter = 100)\r\n(Number of holes = 4)\r\n"
                             "(Angle of the first hole = 0 degrees)\r\n(Angle between holes = 90.000 degrees)\r\n"
                             "(Cord length = 70.7107)\r\n(Distance between holes = 60.7107)\r\n"
                             "(Hole diameter = 10)\r\n";

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Types the four boxes as a user does, Enter after each.
void Type(frmBolt& form, const QString& diameter, const QString& holes, const QString& angle,
          const QString& holeDiameter)
{
    const QString texts[] = {diameter, holes, angle, holeDiameter};
    QLineEdit* boxes[] = {form.Text1, form.Text2, form.Text3, form.Text4};
    for (int i = 0; i < 4; ++i) {
        boxes[i]->setFocus();
        boxes[i]->clear();
        QTest::keyClicks(boxes[i], texts[i]);
        QTest::keyClick(boxes[i], Qt::Key_Return);
    }
}

void Calculate(frmBolt& form, const QString& diameter, const QString& holes, const QString& angle,
               const QString& holeDiameter)
{
    Type(form, diameter, holes, angle, holeDiameter);
    QTest::mouseClick(form.cmdCalc, Qt::LeftButton);
}

QStringList Items(const QMenu* menu)
{
    QStringList items;
    for (const QAction* item : menu->actions())
        items.append(item->objectName() + ": " + item->text());
    return items;
}

// The path a file dialog is made to accept, as a user typing the name and pressing Save/Open.
void AcceptFile(QDialog& dialog, const QString& path, int filter = -1)
{
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    if (filter >= 0)
        files.selectNameFilter(files.nameFilters().at(filter));
    files.selectFile(path);
    dialog.accept();  // the file dialog's own accept, as its Save or Open button
}


}  // namespace

// The bolt-circle window on its own: calculation, views, files and messages.
class TestBoltWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        previousData_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data_->path().toLocal8Bit());
    }
    void cleanup()
    {
        qputenv("XDG_DATA_HOME", previousData_);
        data_.reset();
    }

    void startsEmptyWithSaveAsDisabled()
    {
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.windowTitle(), QStringLiteral("Bolt Circle"));
        QCOMPARE(form.Label1->text(), QStringLiteral("Bolt Circle Diameter "));
        QCOMPARE(form.Label2->text(), QStringLiteral("Number of Holes "));
        QCOMPARE(form.Label3->text(), QStringLiteral("Angle of First Hole "));
        QCOMPARE(form.Label4->text(), QStringLiteral("Hole Diameter "));
        QCOMPARE(form.chkDelimit->text(), QStringLiteral("Comma Separator"));
        QCOMPARE(form.cmdCalc->text(), QStringLiteral("&Calculate"));
        QCOMPARE(form.cmdExit->text(), QStringLiteral("E&xit"));
        QCOMPARE(Items(form.mnuFile), (QStringList{"mnuNew: &New", "mnuOpen: &Open", "mnuSave: Save &As",
                                                   "mnuPrint: &Print", "mnuExit: E&xit"}));
        QCOMPARE(Items(form.mnuEdit), QStringList{"mnuCopy: &Copy"});
        QCOMPARE(Items(form.mnuView), (QStringList{"mnuGraphic: &Graphic", "mnuText: &Text"}));
        QCOMPARE(form.Frame1->lblAngle[0]->text(), QStringLiteral("0 degrees"));
        QCOMPARE(form.Frame1->lblAngle[7]->text(), QStringLiteral("315"));
        QCOMPARE(form.Frame1->lblNote->text(),
                 QStringLiteral("First hole position starts in a CCW direction from 0 to any degrees."));
        QVERIFY(form.Frame1->isVisible());
        QVERIFY(!form.Frame2->isVisible());
        QVERIFY(!form.cmdCalc->isEnabled());
        QVERIFY(!form.mnuSave->isEnabled());
        QCOMPARE(QApplication::focusWidget(), form.Text1);
    }

    // The angle diagram shows every label whole inside its frame, clear of
    // the note under it, at our font and at larger desktop fonts.
    void angleLabelsInsideTheDiagram_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("default font") << 0;
        QTest::newRow("11 pt") << 11;
        QTest::newRow("13 pt") << 13;
    }
    void angleLabelsInsideTheDiagram()
    {
        QFETCH(int, points);
        const DesktopFontSize font(points);
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const BoltAngleDiagram& diagram = *form.Frame1;
        const QRect inside = diagram.contentsRect();
        for (const QLabel* label : diagram.lblAngle) {
            const QFontMetrics metrics(label->font());
            const QRect text = QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                                   metrics.size(0, label->text()), label->geometry());
            QVERIFY2(label->width() >= metrics.horizontalAdvance(label->text()), qPrintable(label->text()));
            QVERIFY2(inside.contains(text), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                                                           .arg(label->text())
                                                           .arg(text.x())
                                                           .arg(text.y())
                                                           .arg(text.width())
                                                           .arg(text.height())
                                                           .arg(inside.width())
                                                           .arg(inside.height())));
            QVERIFY2(!text.intersects(diagram.lblNote->geometry()), qPrintable(label->text()));
        }
    }

    // Enter walks the boxes to Calculate, and Enter there presses it.
    void enterWalksToCalculateAndPressesIt()
    {
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const std::pair<QLineEdit*, Qt::Key> steps[] = {
            {form.Text1, Qt::Key_Return}, {form.Text2, Qt::Key_Enter}, {form.Text3, Qt::Key_Return},
            {form.Text4, Qt::Key_Return}};
        const char* const typed[] = {"100", "4", "0", "10"};
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            QCOMPARE(QApplication::focusWidget(), steps[i].first);
            QVERIFY(!form.cmdCalc->isEnabled() || i == 3);
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed[i]));
            QTest::keyClick(QApplication::focusWidget(), steps[i].second);
        }
        QVERIFY(form.cmdCalc->isEnabled());
        QCOMPARE(QApplication::focusWidget(), form.cmdCalc);
        // Enter in the boxes calculated nothing and closed nothing.
        QVERIFY(form.isVisible());
        QVERIFY(!form.Calculation());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(form.Calculation());
        QCOMPARE(int(form.Calculation()->holes.size()), 4);
        QCOMPARE(ReadFile(frmBolt::HoleListFile()), FourHoles);
        QVERIFY(form.txtHole->toPlainText().startsWith(QStringLiteral("G00G90\nX0Y0\nX50Y0\n")));
        QCOMPARE(QApplication::focusWidget(), form.cmdCalc);
        QCOMPARE(answers.msgBoxes().size(), 0);

        // Enter on Exit closes the window.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.cmdExit);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QVERIFY(!form.isVisible());
    }

    void calculateWritesAndShowsTheHoleList_data()
    {
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no separator") << false << FourHoles;
        QByteArray withCommas = FourHoles;
        withCommas.replace("X50Y0\r\nX0Y50\r\nX-50Y0\r\nX0Y-50", "X50,Y0\r\nX0,Y50\r\nX-50,Y0\r\nX0,Y-50");
        QTest::newRow("comma separator") << true << withCommas;
    }
    void calculateWritesAndShowsTheHoleList()
    {
        QFETCH(bool, comma);
        QFETCH(QByteArray, file);
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.chkDelimit->setChecked(comma);

        Calculate(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));

        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(frmBolt::HoleListFile(), data_->filePath(QStringLiteral("Talvex/Bholes.txt")));
        QCOMPARE(ReadFile(frmBolt::HoleListFile()), file);
        QCOMPARE(form.txtHole->toPlainText(), QString::fromLatin1(file).replace(QStringLiteral("\r\n"), "\n"));
        QVERIFY(form.Frame2->isVisible());
        QVERIFY(!form.Frame1->isVisible());
        QVERIFY(form.mnuText->isChecked());
        QVERIFY(!form.mnuGraphic->isChecked());
        QVERIFY(form.mnuSave->isEnabled());

        // View > Graphic shows the drawing; the text view strips commas unless the box is ticked.
        form.mnuGraphic->trigger();
        QVERIFY(!form.Frame2->isVisible());
        QVERIFY(form.mnuGraphic->isChecked());
        QVERIFY(!form.mnuText->isChecked());
        form.chkDelimit->setChecked(false);
        form.mnuText->trigger();
        QVERIFY(form.Frame2->isVisible());
        QVERIFY(form.mnuText->isChecked());
        QVERIFY(!form.txtHole->toPlainText().contains(QLatin1Char(',')));
        QVERIFY(form.txtHole->toPlainText().contains(QStringLiteral("X50Y0\n")));
    }

    void refusedInputCalculatesNothing_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("holes");
        QTest::addColumn<QString>("holeDiameter");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("box");
        const QString count = QStringLiteral("Number of Holes must be a whole number from 1 to 32767.");
        QTest::newRow("no holes") << "100" << "0" << "10" << count << "Text2";
        QTest::newRow("rounds to no holes") << "100" << "0.5" << "10" << count << "Text2";
        QTest::newRow("not a number") << "100" << "abc" << "10" << count << "Text2";
        QTest::newRow("negative") << "100" << "-3" << "10" << count << "Text2";
        QTest::newRow("too many") << "100" << "40000" << "10" << count << "Text2";
        QTest::newRow("diameter beyond a single") << "1" + QString(40, '0') << "4" << "10"
                                                  << "Bolt Circle Diameter is too large." << "Text1";
        QTest::newRow("hole beyond a single") << "100" << "4" << "9" + QString(40, '9')
                                              << "Hole Diameter is too large." << "Text4";
    }
    void refusedInputCalculatesNothing()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, holes);
        QFETCH(QString, holeDiameter);
        QFETCH(QString, message);
        QFETCH(QString, box);
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        Calculate(form, diameter, holes, QStringLiteral("0"), holeDiameter);

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbExclamation);
        QVERIFY(!form.Calculation());
        QVERIFY(!form.PicBolt->HasDrawing());
        QVERIFY(!QFile::exists(frmBolt::HoleListFile()));
        QVERIFY(!form.mnuSave->isEnabled());
        QCOMPARE(QApplication::focusWidget()->objectName(), box);
    }

    void emptyBoxEndsCalculateSilently()
    {
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Calculate(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));
        QVERIFY(form.PicBolt->HasDrawing());
        form.Text3->clear();
        QTest::mouseClick(form.cmdCalc, Qt::LeftButton);
        QVERIFY(!form.PicBolt->HasDrawing());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void drawingShowsTheHoles_data()
    {
        QTest::addColumn<int>("holes");
        QTest::addColumn<QString>("firstAngle");
        QTest::newRow("three from 30") << 3 << "30";
        QTest::newRow("five from 0") << 5 << "0";
        QTest::newRow("one at 45") << 1 << "45";
    }
    void drawingShowsTheHoles()
    {
        QFETCH(int, holes);
        QFETCH(QString, firstAngle);
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Calculate(form, QStringLiteral("10"), QString::number(holes), firstAngle, QStringLiteral("0.25"));
        form.mnuGraphic->trigger();
        QVERIFY(form.Calculation());

        const QImage image = form.PicBolt->grab().toImage();
        const double perUnitX = BoltPicture::Scale / platform::TwipsPerPixelX() / image.devicePixelRatio();
        const double perUnitY = BoltPicture::Scale / platform::TwipsPerPixelY() / image.devicePixelRatio();
        const QPointF centre(form.PicBolt->width() / 2.0, form.PicBolt->height() / 2.0);
        const auto dark = [&](double x, double y) {
            return qGray(image.pixel(QPoint(qRound(x * image.devicePixelRatio()), qRound(y * image.devicePixelRatio()))))
                   < 100;
        };
        // Each listed hole is a dark disc where its X and Y put it (Y up on the screen) ...
        for (const BoltHole& hole : form.Calculation()->holes) {
            const double x = centre.x() + hole.x * perUnitX;
            const double y = centre.y() - hole.y * perUnitY;
            QVERIFY2(dark(x, y) && dark(x + 3, y) && dark(x, y - 3), qPrintable(QStringLiteral("%1 %2").arg(hole.x).arg(hole.y)));
        }
        // ... and nothing lies at its mirror image below the X axis where no hole is listed.
        const double radius = 5 * perUnitX;
        const double first = firstAngle.toDouble() * M_PI / 180;
        const QPointF mirrored(centre.x() + radius * std::cos(first), centre.y() + radius * std::sin(first));
        if (std::sin(first) != 0 && holes != 2)
            QVERIFY(!dark(mirrored.x(), mirrored.y()));
        // The centre is empty; the circle's own line runs through the holes.
        QVERIFY(!dark(centre.x(), centre.y()));
    }

    // The picture shows the whole pattern: on the drawing scale where it fits; drawn smaller, all
    // of it on one scale, where it does not (every metric job), with a margin: never blank.
    void pictureShowsTheWholePattern_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<int>("holes");
        QTest::addColumn<QString>("holeDiameter");
        QTest::addColumn<bool>("drawingScale");
        QTest::newRow("4 units, drawing scale") << "4" << 4 << "0.25" << true;
        QTest::newRow("100 mm, 6 holes, fitted") << "100" << 6 << "10" << false;
        QTest::newRow("1000 mm, 8 small holes, fitted") << "1000" << 8 << "20" << false;
    }
    void pictureShowsTheWholePattern()
    {
        QFETCH(QString, diameter);
        QFETCH(int, holes);
        QFETCH(QString, holeDiameter);
        QFETCH(bool, drawingScale);
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Calculate(form, diameter, QString::number(holes), QStringLiteral("0"), holeDiameter);
        form.mnuGraphic->trigger();
        QCOMPARE(answers.msgBoxes().size(), 0);

        const QImage image = form.PicBolt->grab().toImage();
        const double ratio = image.devicePixelRatio();
        const auto dark = [&](double x, double y) {
            return qGray(image.pixel(QPoint(qRound(x * ratio), qRound(y * ratio)))) < 100;
        };
        // The drawn pixels, counted, and the box around them, in widget pixels.
        int drawn = 0;
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    ++drawn;
                    box |= QRect(x, y, 1, 1);
                }
        QVERIFY2(drawn > 0, "a blank picture");
        const QRectF drawnBox(box.x() / ratio, box.y() / ratio, box.width() / ratio, box.height() / ratio);
        const QSizeF size = form.PicBolt->size();
        const QPointF centre(size.width() / 2, size.height() / 2);

        // The scale, in pixels to a unit, from the width drawn: the hole at 0 degrees reaches furthest.
        const double hole = holeDiameter.toDouble();  // the drawn radius of a hole
        const double reach = diameter.toDouble() / 2 + hole;
        const double perUnit = drawnBox.width() / 2 / reach;
        if (drawingScale) {
            QVERIFY2(qAbs(perUnit - BoltPicture::Scale / platform::TwipsPerPixelX()) < 0.5, qPrintable(QString::number(perUnit)));
        } else {
            // Fitted: inside the margin everywhere, and against it on one side.
            const double left = drawnBox.left();
            const double top = drawnBox.top();
            const double right = size.width() - drawnBox.right();
            const double bottom = size.height() - drawnBox.bottom();
            for (double gap : {left, top, right, bottom})
                QVERIFY2(gap >= BoltPicture::Margin - 1, qPrintable(QString::number(gap)));
            QVERIFY(qMin(left, top) <= BoltPicture::Margin + 2);
        }
        QVERIFY(qAbs(drawnBox.center().x() - centre.x()) < 2 && qAbs(drawnBox.center().y() - centre.y()) < 2);
        // Every hole is a disc where the one scale puts it; the centre is empty.
        QVERIFY(drawn >= 0.8 * holes * M_PI * (hole * perUnit * ratio) * (hole * perUnit * ratio));
        for (const BoltHole& listed : form.Calculation()->holes)
            QVERIFY2(dark(centre.x() + listed.x * perUnit, centre.y() - listed.y * perUnit),
                     qPrintable(QStringLiteral("%1 %2").arg(listed.x).arg(listed.y)));
        QVERIFY(!dark(centre.x(), centre.y()));
    }

    void extremeInputStillPaints_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("holes");
        QTest::addColumn<QString>("holeDiameter");
        QTest::newRow("largest single") << "3" + QString(38, '0') << "7" << "1";
        QTest::newRow("holes larger than the surface") << "10" << "3" << "1" + QString(30, '0');
        QTest::newRow("most holes") << "10" << "32767" << "0.001";
    }
    void extremeInputStillPaints()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, holes);
        QFETCH(QString, holeDiameter);
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Calculate(form, diameter, holes, QStringLiteral("0"), holeDiameter);
        form.mnuGraphic->trigger();
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(int(form.Calculation()->holes.size()), holes.toInt());
        const QByteArray list = ReadFile(frmBolt::HoleListFile());
        QCOMPARE(list.count('\n'), holes.toInt() + 9);
        // Plain decimal numbers only: no exponent, no infinity.
        const QRegularExpression number(QStringLiteral("^(X-?[0-9.]+,?Y-?[0-9.]+|\\(.* = -?[0-9.]+( degrees)?\\)|G00G90)\r$"));
        for (const QByteArray& line : list.trimmed().split('\n'))
            QVERIFY2(number.match(QString::fromLatin1(line + (line.endsWith('\r') ? "" : "\r"))).hasMatch(), line.constData());
        const QImage image = form.PicBolt->grab().toImage();
        QVERIFY(!image.isNull());
    }

    void saveAsWritesTheBoltFileAndOpenReadsItBack()
    {
        QTemporaryDir folder;
        const QString jobs = folder.filePath(QStringLiteral("jobs.v2"));
        QVERIFY(QDir().mkpath(jobs));
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Calculate(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));

        QString title;
        QString filter;
        answers.scriptModal([&](QDialog& dialog) {
            title = dialog.windowTitle();
            filter = dynamic_cast<QFileDialog&>(dialog).selectedNameFilter();
            AcceptFile(dialog, jobs + "/plate.txt");
        });
        form.mnuSave->trigger();

        QCOMPARE(title, QStringLiteral("Save As"));
        QVERIFY(filter.startsWith(QStringLiteral("Bolt Files (")));
        const QString saved = jobs + "/plate.blt";
        QCOMPARE(ReadFile(saved), QByteArray("(Bolt circle diameter = 100)\r\n(Number of holes = 4)\r\n"
                                             "(Angle of the first hole = 0 degrees)\r\n(Cord length = 70.7107)\r\n"
                                             "(Distance between holes = 60.7107)\r\n(Hole diameter = 10)\r\n"
                                             "X50,Y0\r\nX0,Y50\r\nX-50,Y0\r\nX0,Y-50\r\n"));
        QVERIFY(!QFile::exists(jobs + "/plate.txt"));
        QCOMPARE(answers.msgBoxes().size(), 0);

        // Open shows it without commas, the path as the caption; the boxes are emptied.
        answers.scriptModal([&](QDialog& dialog) {
            title = dialog.windowTitle();
            AcceptFile(dialog, saved, 1);
        });
        form.mnuOpen->trigger();
        QCOMPARE(title, QStringLiteral("Open Bolt Circle File"));
        QCOMPARE(form.windowTitle(), saved);
        QVERIFY(form.Frame2->isVisible());
        QVERIFY(form.txtHole->toPlainText().startsWith(QStringLiteral("(Bolt circle diameter = 100)\n")));
        QVERIFY(form.txtHole->toPlainText().contains(QStringLiteral("\nX50Y0\nX0Y50\n")));
        QVERIFY(form.Text1->text().isEmpty() && form.Text2->text().isEmpty());
        QCOMPARE(answers.unscriptedCount(), 0);
    }

    void saveAsAsksBeforeReplacing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("plate.blt"));
        WriteFile(path, "old");
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Calculate(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));

        answers.scriptModal([&](QDialog& dialog) { AcceptFile(dialog, folder.filePath(QStringLiteral("plate"))); });
        answers.answerMsgBox(platform::vbNo);
        form.mnuSave->trigger();
        QCOMPARE(ReadFile(path), QByteArray("old"));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Overwrite existing file?"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbYesNo | platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));

        answers.scriptModal([&](QDialog& dialog) { AcceptFile(dialog, path); });
        answers.answerMsgBox(platform::vbYes);
        form.mnuSave->trigger();
        QVERIFY(ReadFile(path).startsWith("(Bolt circle diameter = 100)\r\n"));

        // Cancel writes nothing and says nothing.
        answers.scriptModal([](QDialog& dialog) { dialog.reject(); });
        form.mnuSave->trigger();
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.unscriptedCount(), 0);
    }

    void failuresAreReported()
    {
        platform::ScriptedAnswers answers;
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        // The text view before any hole list was written.
        form.mnuText->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Error opening file."));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);

        // A file where the data folder should be: the hole list cannot be written.
        WriteFile(data_->filePath(QStringLiteral("Talvex")), "in the way");
        Calculate(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));
        QCOMPARE(answers.msgBoxes().size(), 2);
        QVERIFY2(answers.msgBoxes()[1].prompt.startsWith(QStringLiteral("Error writing file ")
                                                         + data_->filePath(QStringLiteral("Talvex/Bholes.txt"))),
                 qPrintable(answers.msgBoxes()[1].prompt));
        QCOMPARE(answers.msgBoxes()[1].style, platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[1].title, QStringLiteral("Talvex Editor"));
        // The calculation stands: it can still be saved as a bolt file.
        QVERIFY(form.mnuSave->isEnabled());

        // A bolt file that cannot be written: a folder holds its name.
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("plate.blt")));
        answers.scriptModal([&](QDialog& dialog) { AcceptFile(dialog, folder.filePath(QStringLiteral("plate"))); });
        form.mnuSave->trigger();
        QCOMPARE(answers.msgBoxes().size(), 3);
        QCOMPARE(answers.msgBoxes()[2].prompt, QStringLiteral("Error occurred trying to close file, please retry."));
        QCOMPARE(answers.msgBoxes()[2].style, platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[2].title, QStringLiteral("Talvex Editor"));

        // A bolt file that cannot be read.
        form.OpenFil(folder.filePath(QStringLiteral("gone.txt")));
        QCOMPARE(answers.msgBoxes().size(), 4);
        QCOMPARE(answers.msgBoxes()[3].prompt, QStringLiteral("Error occurred while trying to open file., please retry."));
        QCOMPARE(answers.msgBoxes()[3].title, QStringLiteral("Hole to G-Code"));
        QCOMPARE(answers.msgBoxes()[3].style, platform::vbExclamation);
        QCOMPARE(form.windowTitle(), QStringLiteral("Bolt Circle"));
        QCOMPARE(answers.pendingCount(), 0);
    }

    void newClearsTheBoxesAndForgetsTheOpenedFile()
    {
        platform::ScriptedAnswers answers;
        const QString path = data_->filePath(QStringLiteral("plate.txt"));
        WriteFile(path, "X1,Y2\r\n");
        frmBolt form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenFil(path);
        QCOMPARE(form.windowTitle(), path);
        form.Text1->setText(QStringLiteral("5"));
        form.mnuNew->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("Bolt Circle"));
        QVERIFY(form.Text1->text().isEmpty());
        QVERIFY(form.txtHole->toPlainText().isEmpty());
        QVERIFY(form.Frame1->isVisible());
        QCOMPARE(QApplication::focusWidget(), form.Text1);
        // The same file opens again after New.
        form.OpenFil(path);
        QCOMPARE(form.txtHole->toPlainText(), QStringLiteral("X1,Y2\n"));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

private:
    std::unique_ptr<QTemporaryDir> data_;
    QByteArray previousData_;
};

REGISTER_TEST(TestBoltWindow);

namespace {

}  // namespace

// The window opened from a document window's Accessories menu.
class TestBoltInDocumentWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        previousData_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data_->path().toLocal8Bit());
    }
    void cleanup()
    {
        qputenv("XDG_DATA_HOME", previousData_);
        data_.reset();
    }

    void copyPastesTheListAsOneEditAndTheEditorKeepsTheKeys_data()
    {
        QTest::addColumn<bool>("viaCloseBox");
        QTest::newRow("Exit") << false;
        QTest::newRow("close box") << true;
    }
    void copyPastesTheListAsOneEditAndTheEditorKeepsTheKeys()
    {
        QFETCH(bool, viaCloseBox);
        FrameFixture fixture(MakeNotePad);
        auto& window = static_cast<frmNotePad&>(fixture.Open("G01\r\nM30\r\n"));
        platform::CodeMax& text = *window.Text1();
        QCOMPARE(Items(window.mnuAccessories).first(), QStringLiteral("mnuBolt: &Bolt Circle"));
        const QString path = QDir(data_->path()).filePath(QStringLiteral("job.nc"));
        window.FilePath = path;
        text.SetSel({1, 0, 1, 0}, false);

        platform::ScriptedAnswers answers;
        bool focusOnDiameter = false;
        bool centredOnMain = false;
        answers.scriptModal([&](QDialog& dialog) {
            auto& form = dynamic_cast<frmBolt&>(dialog);
            focusOnDiameter = form.focusWidget() == form.Text1;
            const QPoint offset = form.frameGeometry().center() - fixture.Main().frameGeometry().center();
            centredOnMain = qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4;
            Calculate(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));
            form.mnuCopy->trigger();
            if (viaCloseBox)
                form.close();
            else
                QTest::mouseClick(form.cmdExit, Qt::LeftButton);
        });
        window.mnuBolt->trigger();

        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].className, QStringLiteral("frmBolt"));
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Bolt Circle"));
        QVERIFY(focusOnDiameter);
        QVERIFY(centredOnMain);
        QCOMPARE(answers.msgBoxes().size(), 0);
        // The list went in at the caret, and one Undo takes it out again.
        QCOMPARE(text.Text(), QStringLiteral("G01\r\n") + QString::fromLatin1(FourHoles) + QStringLiteral("M30\r\n"));
        QCOMPARE(QApplication::clipboard()->text(), QString::fromLatin1(FourHoles).replace("\r\n", "\n"));
        QVERIFY(FrameFixture::Modified(window));
        EditUndo();
        QCOMPARE(text.Text(), QStringLiteral("G01\r\nM30\r\n"));
        EditRedo();

        // The editor has the focus again, and its keys work: Ctrl+S saves.
        QVERIFY(FrameFixture::HasFocus(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadFile(path), "G01\r\n" + FourHoles + "M30\r\n");
    }

    void cancelledWindowChangesNothing()
    {
        FrameFixture fixture(MakeNotePad);
        auto& window = static_cast<frmNotePad&>(fixture.Open("G01\r\n"));
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            auto& form = dynamic_cast<frmBolt&>(dialog);
            Type(form, QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("10"));
            // Copy without a list pastes nothing.
            form.mnuCopy->trigger();
            form.close();
        });
        window.mnuBolt->trigger();
        QCOMPARE(window.Text1()->Text(), QStringLiteral("G01\r\n"));
        QVERIFY(!window.Text1()->CanUndo());
        QVERIFY(!FrameFixture::Modified(window));
        QVERIFY(!QFile::exists(frmBolt::HoleListFile()));
        QVERIFY(FrameFixture::HasFocus(*window.Text1()));
    }

private:
    std::unique_ptr<QTemporaryDir> data_;
    QByteArray previousData_;
};

REGISTER_TEST(TestBoltInDocumentWindow);

#include "frmBoltTests.moc"
