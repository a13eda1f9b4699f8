// The clipboard formats of the editor control: the range record, copying a
// range in every format at once, reading what a clipboard holds (also data a
// hostile program put there), the in-process clipboard's owner, and the
// desktop's clipboard with its code page conversion.

#include "editctl/ZuClipFuzzCheck.h"
#include "editctl/ZuSystemClipboard.h"
#include "editctl/engine/ZuClipboard.h"
#include "editctl/engine/ZuPrivateClipboard.h"
#include "editctl/engine/ZuTextDocument.h"
#include "platform/desktop/Clipboard.h"
#include "support/TestRegistry.h"
#include "editctl/ZuTestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <random>

namespace {

struct Doc {
    explicit Doc(const std::string& text, std::uint32_t blockSize = 8) : doc(&metrics, blockSize)
    {
        std::uint64_t taken = 0;
        doc.AppendText(taken, text.data(), text.size(), ZuCrLfText, 0);
        doc.EnsureBlock();
        doc.EnsureFinalLine();
    }
    ZuFixedMetrics metrics{7};
    ZuTextDocument doc;
};

QByteArray Record(std::uint8_t type, std::uint32_t endX, std::uint32_t endY, int size = 20)
{
    ZuClipRange record;
    record.type = type;
    record.endX = endX;
    record.endY = endY;
    const std::string bytes = ZuEncodeClipRange(record);
    return QByteArray(bytes.data(), qsizetype(bytes.size())).leftJustified(size, '\0', true);
}

std::string Std(const QByteArray& bytes)
{
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

const int Owner = 0;

} // namespace

class ZuClipboardTests : public QObject {
    Q_OBJECT
private slots:
    void rangeRecordIsLittleEndianAndChecked()
    {
        QCOMPARE(Record(3, 0x01020304, 5),
                 QByteArray("\x03\0\0\0" "\0\0\0\0" "\0\0\0\0" "\x04\x03\x02\x01" "\x05\0\0\0", 20));
        const std::string good = Std(Record(2, 1, 7));
        QVERIFY(ZuDecodeClipRange(&good));
        QCOMPARE(ZuDecodeClipRange(&good)->endY, 7u);
        for (const QByteArray& bad : {Record(1, 0, 0, 5), Record(9, 0, 0), Record(0, 0, 0), QByteArray()}) {
            const std::string b = Std(bad);
            QVERIFY(!ZuDecodeClipRange(&b));
        }
        QVERIFY(!ZuDecodeClipRange(nullptr));
    }

    void copiesEveryFormatOfARange_data()
    {
        QTest::addColumn<ZuTextRange>("range");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("record");

        // Lines of "abcdef\r\nghijkl\r\nxy" are 1-based.
        QTest::newRow("stream") << ZuTextRange({2, 1}, {1, 3}, ZuRangeStream) << QByteArray("cdef\r\nghijkl\r\nx")
                                << Record(1, 1, 2);
        QTest::newRow("stream on one line") << ZuTextRange({4, 2}, {1, 2}, ZuRangeStream) << QByteArray("hij")
                                            << Record(1, 3, 0);
        QTest::newRow("column, 3 by 2") << ZuTextRange({1, 1}, {4, 2}, ZuRangeColumn)
                                        << QByteArray("bcd\r\nhij") << Record(3, 3, 1);
        QTest::newRow("column past short lines") << ZuTextRange({1, 2}, {4, 3}, ZuRangeColumn)
                                                 << QByteArray("hij\r\ny") << Record(3, 3, 1);
        QTest::newRow("lines") << ZuTextRange({3, 1}, {0, 2}, ZuRangeLine) << QByteArray("abcdef\r\nghijkl\r\n")
                               << Record(2, 1, 2);
        QTest::newRow("lines to the end") << ZuTextRange({0, 3}, {0, 2}, ZuRangeLine)
                                          << QByteArray("ghijkl\r\nxy\r\n") << Record(2, 1, 2);
    }
    void copiesEveryFormatOfARange()
    {
        QFETCH(ZuTextRange, range);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, record);
        Doc d("abcdef\r\nghijkl\r\nxy");
        ZuPrivateClipboard clipboard;
        QCOMPARE(clipboard.Set("stale", "old"), ZuOk);
        QCOMPARE(ZuCopyRange(d.doc, 0, range, clipboard, &Owner), ZuOk);
        QVERIFY(!clipboard.IsOpen());
        QVERIFY(!clipboard.Get("stale")); // emptied first
        QCOMPARE(QByteArray::fromStdString(*clipboard.Get(ZuClipTextFormat)), text);
        QCOMPARE(QByteArray::fromStdString(*clipboard.Get(ZuClipRangeFormat)), record);
        if (const std::string* rtf = clipboard.Get(ZuClipRtfFormat))
            QVERIFY(rtf->starts_with("{\\rtf"));

        // And back: the same text in the same kind of range.
        ZuClipContent content;
        QCOMPARE(ZuReadClipboard(clipboard, &Owner, d.doc, content), ZuOk);
        QVERIFY(content.text);
        QCOMPARE(content.range.type, range.type);
        QCOMPARE(QByteArray::fromStdString(content.text->Text()), text);
    }

    void copiesNothingOfAnEmptyRange()
    {
        Doc d("abc");
        ZuPrivateClipboard clipboard;
        clipboard.Set(ZuClipTextFormat, "kept");
        QCOMPARE(ZuCopyRange(d.doc, 0, ZuTextRange({1, 1}, {1, 1}, ZuRangeStream), clipboard, &Owner), ZuOk);
        QCOMPARE(ZuCopyRange(d.doc, 0, ZuTextRange(), clipboard, &Owner), ZuOk);
        QCOMPARE(*clipboard.Get(ZuClipTextFormat), std::string("kept"));
    }

    void readsWhatAClipboardHolds_data()
    {
        QTest::addColumn<QByteArray>("text");   // null: no plain text
        QTest::addColumn<QByteArray>("rtf");    // null: no RTF
        QTest::addColumn<QByteArray>("record"); // null: no record
        QTest::addColumn<QByteArray>("result"); // null: nothing to insert
        QTest::addColumn<ZuTextRange>("range");

        const QByteArray none;
        QTest::newRow("plain text") << QByteArray("ab\r\ncde") << none << none << QByteArray("ab\r\ncde")
                                    << ZuTextRange({0, 0}, {3, 1}, ZuRangeStream);
        QTest::newRow("a column block") << QByteArray("ab\r\ncde") << none << Record(3, 4, 1)
                                        << QByteArray("ab\r\ncde") << ZuTextRange({0, 0}, {4, 1}, ZuRangeColumn);
        QTest::newRow("a column narrower than its text") << QByteArray("ab\r\ncde") << none << Record(3, 1, 1)
                                                         << QByteArray("ab\r\ncde")
                                                         << ZuTextRange({0, 0}, {3, 1}, ZuRangeColumn);
        QTest::newRow("a column wider than any line") << QByteArray("ab") << none << Record(3, 0xFFFFFFFF, 1)
                                                      << QByteArray("ab")
                                                      << ZuTextRange({0, 0}, {2, 0}, ZuRangeColumn);
        QTest::newRow("lines") << QByteArray("ab\r\n") << none << Record(2, 1, 1) << QByteArray("ab\r\n")
                               << ZuTextRange({0, 0}, {0, 1}, ZuRangeLine);
        QTest::newRow("lines without their last break get it") << QByteArray("ab") << none << Record(2, 1, 1)
                                                               << QByteArray("ab\r\n")
                                                               << ZuTextRange({0, 0}, {0, 1}, ZuRangeLine);
        QTest::newRow("a short record is ignored") << QByteArray("ab") << none << Record(3, 2, 0, 5)
                                                   << QByteArray("ab") << ZuTextRange({0, 0}, {2, 0}, ZuRangeStream);
        QTest::newRow("a record of no known type is ignored") << QByteArray("ab") << none << Record(9, 2, 0)
                                                              << QByteArray("ab")
                                                              << ZuTextRange({0, 0}, {2, 0}, ZuRangeStream);
        QTest::newRow("lines ending in LF alone") << QByteArray("a\nb") << none << none << QByteArray("a\r\nb")
                                                  << ZuTextRange({0, 0}, {1, 1}, ZuRangeStream);
        QTest::newRow("NUL bytes are text") << QByteArray("a\0b", 3) << none << none << QByteArray("a\0b", 3)
                                            << ZuTextRange({0, 0}, {3, 0}, ZuRangeStream);
        QTest::newRow("plain text stands in for RTF the reader refuses")
            << QByteArray("ok") << QByteArray("{\\rtf1 {") << none << QByteArray("ok")
            << ZuTextRange({0, 0}, {2, 0}, ZuRangeStream);
        QTest::newRow("RTF that is no RTF, alone, is text") << none << QByteArray("{x}") << none << QByteArray("{x}")
                                                            << ZuTextRange({0, 0}, {3, 0}, ZuRangeStream);
        QTest::newRow("empty text") << QByteArray("") << none << none << none << ZuTextRange();
        QTest::newRow("nothing") << none << none << Record(1, 0, 0) << none << ZuTextRange();
    }
    void readsWhatAClipboardHolds()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, record);
        QFETCH(QByteArray, result);
        QFETCH(ZuTextRange, range);
        Doc d("target");
        ZuPrivateClipboard clipboard;
        if (!text.isNull())
            clipboard.Set(ZuClipTextFormat, Std(text));
        if (!rtf.isNull())
            clipboard.Set("Rich Text Format", Std(rtf)); // names match without regard to case
        if (!record.isNull())
            clipboard.Set(ZuClipRangeFormat, Std(record));
        ZuClipContent content;
        QCOMPARE(ZuReadClipboard(clipboard, &Owner, d.doc, content), ZuOk);
        QVERIFY(!clipboard.IsOpen());
        if (result.isNull()) {
            QVERIFY(!content.text);
            return;
        }
        QVERIFY(content.text);
        QVERIFY(!content.rtf);
        QCOMPARE(QByteArray::fromStdString(content.text->Text()), result);
        QCOMPARE(content.range, range);
    }

    void readsRtfWithItsFormats()
    {
        Doc d("x");
        ZuTextDocument probe;
        ZuPrivateClipboard clipboard;
        // Read by its size: no NUL after it, and a NUL inside ends nothing.
        clipboard.Set(ZuClipRtfFormat, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\b\\cf1 bold}}");
        clipboard.Set(ZuClipTextFormat, "plain");
        ZuClipContent content;
        QCOMPARE(ZuReadClipboard(clipboard, &Owner, d.doc, content), ZuOk);
        QVERIFY(content.rtf);
        QCOMPARE(content.text->Text(), std::string("bold"));
        const ZuTextRange all({0, 1}, {4, 1}, ZuRangeStream);
        QCOMPARE(content.text->QueryCharFormat(ZuAttrBold, 0, all), ZuAttributeValue::Number(-1));
        QCOMPARE(content.text->QueryColor(7, 0, all), 0x0000FFu);
    }

    void plainTextTakesTheFormatAtTheCaret()
    {
        Doc d("ab cd");
        const ZuTextRange cd({3, 1}, {5, 1}, ZuRangeStream);
        QCOMPARE(d.doc.ApplyCharFormat(ZuAttrBold, 0, cd, ZuAttributeValue::Number(-1)), ZuOk);
        QCOMPARE(d.doc.ApplyColor(7, 0, cd, 0x0000FF), ZuOk);
        Doc fragment("xy\r\nz");
        QCOMPARE(ZuTakeFormatAt(d.doc, 0, {4, 1}, fragment.doc), ZuOk);
        const ZuTextRange all({0, 1}, {1, 2}, ZuRangeStream);
        QCOMPARE(fragment.doc.QueryCharFormat(ZuAttrBold, 0, all), ZuAttributeValue::Number(-1));
        QCOMPARE(fragment.doc.QueryColor(7, 0, all), 0x0000FFu);
        // Plain text at plain text stays plain.
        Doc other("xy");
        QCOMPARE(ZuTakeFormatAt(d.doc, 0, {1, 1}, other.doc), ZuOk);
        const ZuTextRange xy({0, 1}, {2, 1}, ZuRangeStream);
        QCOMPARE(other.doc.QueryCharFormat(ZuAttrBold, 0, xy), ZuAttributeValue::Number(0));
        QCOMPARE(other.doc.QueryColor(7, 0, xy), other.doc.PaneColor(0, ZuColorTextFore));
    }

    void privateClipboardBelongsToOneOwnerAtATime()
    {
        const int a = 0, b = 0;
        ZuPrivateClipboard clipboard;
        QCOMPARE(clipboard.Open(&a), ZuOk);
        QCOMPARE(clipboard.Open(&a), ZuOk);
        QCOMPARE(clipboard.Open(&b), ZuErrClipboard);
        QCOMPARE(clipboard.Owner(), static_cast<const void*>(&a));
        clipboard.Close();
        QCOMPARE(clipboard.Open(&b), ZuOk);
        QCOMPARE(clipboard.Set("one", "1"), ZuOk);
        QCOMPARE(clipboard.Set("ONE", "2"), ZuOk);
        QCOMPARE(*clipboard.Get("One"), std::string("2"));
        clipboard.Empty();
        QVERIFY(!clipboard.Get("one"));
    }

    void desktopClipboardGetsEveryFormatInOneStep()
    {
        QGuiApplication::clipboard()->clear();
        Doc d("caf\xE9 \x80\r\nline");
        QSignalSpy changed(&platform::TheClipboard(), &platform::Clipboard::changed);
        ZuSystemClipboard clipboard;
        QCOMPARE(ZuCopyRange(d.doc, 0, ZuTextRange({0, 1}, {2, 2}, ZuRangeStream), clipboard, &Owner), ZuOk);
        QCOMPARE(changed.count(), 1);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QString::fromUtf8("caf\u00e9 \u20ac\r\nli"));
        QCOMPARE(data->data(ZuSystemClipboard::RangeMimeType), Record(1, 2, 1));

        // Back from the desktop: the code page's bytes, and '?' for what it lacks.
        auto* foreign = new QMimeData;
        foreign->setText(QString::fromUtf8("\u00e9\u20ac\u4e2d\nx"));
        foreign->setData(QStringLiteral("application/rtf"), "{x}");
        QGuiApplication::clipboard()->setMimeData(foreign);
        QCOMPARE(clipboard.Open(&Owner), ZuOk);
        QCOMPARE(*clipboard.Get(ZuClipTextFormat), std::string("\xE9\x80?\nx"));
        QCOMPARE(*clipboard.Get("rich text format"), std::string("{x}"));
        QVERIFY(!clipboard.Get(ZuClipRangeFormat));
        clipboard.Close();
        ZuClipContent content;
        QCOMPARE(ZuReadClipboard(clipboard, &Owner, d.doc, content), ZuOk);
        QCOMPARE(content.text->LineCount(0), 2u);
        QCOMPARE(content.text->LineText(0, 1), std::string("\xE9\x80?"));
        QCOMPARE(content.range.type, std::uint8_t(ZuRangeStream));
    }

    void survivesMutatedClipboardContent()
    {
        // The fuzzer's seeds, each mutated a few hundred times with a fixed seed.
        const QDir seeds(QStringLiteral(QT_TESTCASE_SOURCEDIR "/fuzz/seeds"));
        const QStringList names = seeds.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        std::mt19937 random(20);
        for (const QString& name : names) {
            QFile file(seeds.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const std::string seed = Std(file.readAll());
            zuclipfuzz::CheckInput(seed.data(), seed.size());
            for (int round = 0; round < 300; ++round) {
                std::string input = seed;
                for (int edits = 1 + int(random() % 4); edits > 0 && !input.empty(); --edits) {
                    const std::size_t at = random() % input.size();
                    switch (random() % 4) {
                    case 0: input[at] = char(random()); break;
                    case 1: input.erase(at, 1 + random() % 8); break;
                    case 2: input.insert(at, 1, char(random())); break;
                    default: input.resize(at); break;
                    }
                }
                zuclipfuzz::CheckInput(input.data(), input.size());
            }
        }
    }
};

REGISTER_TEST(ZuClipboardTests);
#include "ZuClipboardTests.moc"
