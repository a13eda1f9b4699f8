// The word-list panel: reading word-list files, loading and clearing the
// panel, and putting entries into the program with the keyboard and the mouse.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"

#include "document/WordList.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>

using document_test::OpenFile;

class TestWordList : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("comma splits") << "G01 X10,Y20" << QStringList{"G01 X10", "Y20"};
        QTest::newRow("quoted keeps commas") << "\"G00, G90\"" << QStringList{"G00, G90"};
        QTest::newRow("leading blanks skipped") << "   A,  B" << QStringList{"A", "B"};
        QTest::newRow("after the closing quote dropped") << "\"Q\"x,Z" << QStringList{"Q", "Z"};
        QTest::newRow("open quote ends at the line end") << "\"M03,S5\r\nT1" << QStringList{"M03,S5", "T1"};
        QTest::newRow("CR LF") << "M03;\r\nS1200\r\n" << QStringList{"M03;", "S1200"};
        QTest::newRow("LF") << "M03;\nS1200\n" << QStringList{"M03;", "S1200"};
        QTest::newRow("lone CR") << "M03;\rS1200" << QStringList{"M03;", "S1200"};
        QTest::newRow("blank lines skipped") << "\r\nA\r\n\r\n   \r\nB\r\n\r\n" << QStringList{"A", "B"};
        QTest::newRow("trailing comma") << "A,\r\nB" << QStringList{"A", "B"};
        QTest::newRow("empty field between commas") << "A,,B" << QStringList{"A", "", "B"};
        QTest::newRow("Latin-1 text") << QString::fromLatin1("\xd8 10,\xb0") << QStringList{"\u00d8 10", "\u00b0"};
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QCOMPARE(ParseWordList(text), entries);
    }

    void insertion_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("lineBreak");
        QTest::addColumn<QString>("text");
        QTest::newRow("keyboard") << "S1200" << true << "S1200\r\n";
        QTest::newRow("keyboard, line end") << "M03;" << true << "M03\r\n";
        QTest::newRow("click") << "S1200" << false << "S1200";
        QTest::newRow("click, line end") << "M30;" << false << "M30\r\n";
        QTest::newRow("only a semicolon") << ";" << false << "\r\n";
    }

    void insertion()
    {
        QFETCH(QString, entry);
        QFETCH(bool, lineBreak);
        QFETCH(QString, text);
        QCOMPARE(WordListInsertion(entry, lineBreak), text);
        QVERIFY(!WordListInsertion(entry, lineBreak).contains(QChar(0)));
    }

    // Loading appends to the list and shows the panel; a cancelled dialog
    // leaves the list and hides the panel at the next layout only.
    void loadClearAndClose()
    {
        DocumentFixture fixture;
        fixture.main->show();
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), "G00\r\n");
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("one.txt")), "G01 X10,Y20\r\n"));
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("two.txt")), "\"G00, G90\"\r\nM30;"));
        const auto items = [window] {
            QStringList list;
            for (int i = 0; i < window->lstWords->count(); ++i)
                list.append(window->lstWords->item(i)->text());
            return list;
        };
        platform::ScriptedAnswers answers;
        QString title;
        answers.scriptModal([&](QDialog& dialog) {
            title = dialog.windowTitle();
            ChooseFiles(fixture.Folder(), {"one.txt"})(dialog);
        });
        window->mnuOpenMacFile->trigger();
        QCOMPARE(title, QStringLiteral("Open Word List File"));
        QVERIFY(WordListShown);
        QVERIFY(window->frWords->isVisible());
        answers.scriptModal(ChooseFiles(fixture.Folder(), {"two.txt"}));
        window->mnuOpenMacFile->trigger();
        QCOMPARE(items(), (QStringList{"G01 X10", "Y20", "G00, G90", "M30;"}));

        answers.scriptModal(CancelDialog());
        window->mnuOpenMacFile->trigger();
        QVERIFY(!WordListShown);
        QVERIFY(window->frWords->isVisible());  // no layout ran
        QCOMPARE(items().size(), 4);

        window->mnuMacClose->trigger();  // shows a hidden panel again
        QVERIFY(WordListShown && window->frWords->isVisible());
        window->mnuMacClose->trigger();
        QVERIFY(!WordListShown && !window->frWords->isVisible());
        window->mnuMacClear->trigger();
        QVERIFY(items().isEmpty());
        QVERIFY(answers.msgBoxes().isEmpty());
    }

    // Entries go in when Shift or Ctrl itself is released: Shift+Down only
    // extends the list's selection.
    void keyboardInsertion()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), "");
        window->lstWords->addItems({"M03;", "S1200", "T1"});
        window->lstWords->setCurrentRow(0);
        const auto key = [window](QEvent::Type type, int code, Qt::KeyboardModifiers modifiers) {
            QKeyEvent event(type, code, modifiers);
            QApplication::sendEvent(window->lstWords, &event);
        };
        key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        key(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
        key(QEvent::KeyRelease, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(window->lstWords->selectedItems().size(), 2);
        QCOMPARE(window->Text1()->Text(), QString());
        key(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        QCOMPARE(window->Text1()->Text(), QStringLiteral("M03\r\nS1200\r\n"));
        QVERIFY(!window->WordPickPending);
        // A key-up without a Shift or Ctrl key-down before it inserts nothing.
        key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(window->Text1()->Text(), QStringLiteral("M03\r\nS1200\r\n"));
        // Ctrl down and up on the list: the selection goes in over the text's selection.
        window->Text1()->SetSel({0, 0, 0, 3}, false);
        window->lstWords->clearSelection();
        window->lstWords->item(2)->setSelected(true);
        key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(window->Text1()->Text(), QStringLiteral("T1\r\n\r\nS1200\r\n"));
    }

    void clickInsertion_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("alt click") << 1 << int(Qt::AltModifier) << "S1200";
        QTest::newRow("alt click, line end") << 0 << int(Qt::AltModifier) << "M30\r\n";
        QTest::newRow("plain click") << 1 << int(Qt::NoModifier) << "";
        QTest::newRow("shift alt click") << 1 << int(Qt::AltModifier | Qt::ShiftModifier) << "";
        QTest::newRow("ctrl alt click") << 1 << int(Qt::AltModifier | Qt::ControlModifier) << "";
    }

    void clickInsertion()
    {
        QFETCH(int, row);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        DocumentFixture fixture;
        fixture.main->show();
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), "");
        WordListShown = true;
        window->Form_Resize();
        window->lstWords->addItems({"M30;", "S1200"});
        const QRect item = window->lstWords->visualItemRect(window->lstWords->item(row));
        QTest::mouseClick(window->lstWords->viewport(), Qt::LeftButton,
                          Qt::KeyboardModifiers(modifiers), item.center());
        QCOMPARE(window->Text1()->Text(), text);
        QVERIFY(!window->Text1()->Text().contains(QChar(0)));
    }
};

REGISTER_TEST(TestWordList);
#include "tst_WordList.moc"
