// The history file: exact bytes, round trips, damaged files, and a bounded
// run of mutated files through the reader.

#include "clipext/CcfFuzzCheck.h"

#include "clipext/ClipHistory.h"
#include "clipext/ClipHistoryFile.h"

#include "support/TestRegistry.h"
#include "HistoryBytes.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

using namespace clipext;

namespace {

QByteArray Record(const QByteArray& title, const QList<QPair<qint32, QByteArray>>& blocks)
{
    QByteArray out = "CCC" + Int32(static_cast<qint32>(title.size())) + title
                     + Int32(static_cast<qint32>(blocks.size()));
    for (const auto& [id, bytes] : blocks)
        out += Int32(id) + Int32(static_cast<qint32>(bytes.size()));
    for (const auto& [id, bytes] : blocks)
        out += bytes;
    return out;
}

const QByteArray Magic(ClipFileMagic);

// The file's bytes, gathered in memory and as the pieces the extender writes:
// the two must agree to the byte.
QByteArray Save(ClipHistory& history)
{
    QByteArray out = Magic;
    ClipFilePieces file;
    for (const int index : history.Rows()) {
        history.Entry(index).Serialise(out);
        history.Entry(index).Serialise(file);
    }
    QByteArray joined;
    for (const QByteArrayView piece : file.Pieces())
        joined += piece;
    return joined == out ? out : QByteArray("the pieces differ from the gathered bytes");
}

QStringList Titles(ClipHistory& history)
{
    QStringList titles;
    for (const int index : history.Rows())
        titles.append(history.Entry(index).RenderString());
    return titles;
}

}  // namespace

class TestClipHistoryFile : public QObject {
    Q_OBJECT
private slots:
    void oneTextEntryExactBytes()
    {
        ClipHistory history(3);
        history.Capture({{CF_TEXT, QByteArray("abc", 4)}});
        const QByteArray expected = Magic + "CCC" + QByteArray::fromHex("03000000") + "abc"
                                    + QByteArray::fromHex("01000000" "01000000" "04000000" "61626300");
        QCOMPARE(expected.size(), 51);
        QCOMPARE(Save(history), expected);
    }

    void emptyHistoryIsTheMagicAlone()
    {
        ClipHistory history(3);
        QCOMPARE(Save(history), Magic);
        const ClipFileContent content = ReadClipHistory(Magic);
        QVERIFY(content.validMagic);
        QVERIFY(!content.damaged);
        QCOMPARE(history.Load(content.records), 0);
        QCOMPARE(history.UsedCount(), 0);
    }

    void roundTripByteForByte()
    {
        // Several formats per entry, a title in Windows-1252 as old files
        // have them, a renamed one, and blocks with every byte value.
        QByteArray binary;
        for (int i = 0; i < 512; ++i)
            binary.append(static_cast<char>(i));
        const QByteArray file = Magic + Record("G01 X1", {{1, QByteArray("G01 X1", 7)}})
                                + Record("part", {{1, QByteArray("part", 5)}, {static_cast<qint32>(RtfFormat), "{\\rtf1 part}"}})
                                + Record("\xd8" "10 Bohrung \xbd", {{1, QByteArray("\xd8" "10", 4)}, {0xC0FF, binary}});
        ClipHistory loaded(5);
        QCOMPARE(loaded.Load(ReadClipHistory(file).records), 3);
        QCOMPARE(Titles(loaded), QStringList({QString::fromUtf8("\xc3\x98" "10 Bohrung \xc2\xbd"), "part", "G01 X1"}));
        const int rtfEntry = loaded.EntryAtRow(1);
        QCOMPARE(loaded.Entry(rtfEntry).FormatCount(), 2);
        QCOMPARE(loaded.Entry(rtfEntry).BlockAt(2), QByteArray("{\\rtf1 part}"));

        // Saved, the rows come out newest first: the file's records reversed.
        ClipHistory again(5);
        again.Load(ReadClipHistory(Save(loaded)).records);
        QCOMPARE(Save(again), file);
    }

    void savedTitlesKeepTheLimits()
    {
        ClipHistory history(2);
        const int slot = history.Capture({{CF_TEXT, QByteArray("x", 2)}});
        history.Entry(slot).RenderString(QString(40000, u'\x00e9'));
        const QByteArray saved = Save(history);
        const ClipFileContent content = ReadClipHistory(saved);
        QVERIFY(!content.damaged);
        QCOMPARE(content.records.size(), size_t(1));
        QCOMPARE(content.records[0].title.size(), qsizetype(MaxTitleLength * 2));

        // A long title read from a file is kept whole in the history.
        const QByteArray longTitle(20000, 'L');
        ClipHistory loaded(2);
        loaded.Load(ReadClipHistory(Magic + Record(longTitle, {{1, "L"}})).records);
        QCOMPARE(loaded.Entry(loaded.EntryAtRow(0)).RenderString().size(), 20000);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("tail");  // after one good record
        QTest::addColumn<int>("records");      // good records read
        QTest::addColumn<bool>("damaged");
        const QByteArray good = Record("next", {{1, "n"}});
        QTest::newRow("truncated in the title") << good.left(9) << 0 << true;
        QTest::newRow("truncated in a block") << good.chopped(1) << 0 << true;
        QTest::newRow("wrong tag") << "CCD" + good.mid(3) << 0 << true;
        QTest::newRow("title length 0") << "CCC" + Int32(0) + Int32(1) + Int32(1) + Int32(1) + "x" << 0 << true;
        QTest::newRow("title length 40000") << "CCC" + Int32(40000) + QByteArray(40010, 'x') << 0 << true;
        QTest::newRow("no blocks") << "CCC" + Int32(1) + "t" + Int32(0) << 0 << true;
        QTest::newRow("huge block count") << "CCC" + Int32(1) + "t" + Int32(0x7FFFFFFF) + Int32(1) + Int32(1) << 0 << true;
        QTest::newRow("negative size") << "CCC" + Int32(1) + "t" + Int32(1) + Int32(1) + Int32(-1) + "x" << 0 << true;
        QTest::newRow("size past the end") << "CCC" + Int32(1) + "t" + Int32(1) + Int32(1) + Int32(1000) + "x" << 0 << true;
        QTest::newRow("sizes that overflow") << "CCC" + Int32(1) + "t" + Int32(2) + Int32(1) + Int32(0x7FFFFFFF) + Int32(2) + Int32(0x7FFFFFFF) + "xy" << 0 << true;
        QTest::newRow("stray byte") << QByteArray("C") << 0 << true;
        QTest::newRow("all blocks empty") << "CCC" + Int32(1) + "t" + Int32(2) + Int32(1) + Int32(0) + Int32(2) + Int32(0) << 0 << false;
        QTest::newRow("good after empty") << "CCC" + Int32(1) + "t" + Int32(1) + Int32(1) + Int32(0) + good << 1 << false;
        QTest::newRow("good, then damage") << good + "CCC" << 1 << true;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, tail);
        QFETCH(int, records);
        QFETCH(bool, damaged);
        const QByteArray first = Record("first", {{1, QByteArray("first", 6)}});
        const QByteArray all = Magic + first + tail;  // the records point into it
        const ClipFileContent content = ReadClipHistory(all);
        QVERIFY(content.validMagic);
        QCOMPARE(content.damaged, damaged);
        QCOMPARE(static_cast<int>(content.records.size()), 1 + records);
        QCOMPARE(content.records[0].title, QByteArrayView("first"));
        if (damaged)
            QCOMPARE(content.damagedRecord, 2 + records);
        ccffuzz::CheckInput(all.constData(), static_cast<size_t>(all.size()));
    }

    void magicIsCaseSensitive()
    {
        const QByteArray file = Magic.toLower() + Record("a", {{1, "a"}});
        const ClipFileContent content = ReadClipHistory(file);
        QVERIFY(!content.validMagic);
        QVERIFY(content.records.empty());
        QVERIFY(!ReadClipHistory(Magic.left(24)).validMagic);
    }

    void sizeZeroBlocksAndRepeatedFormats()
    {
        const QByteArray file = Magic + Record("t", {{1, ""}, {0xC001, "{old}"}, {1, QByteArray("a", 2)}, {0xC001, "{new}"}});
        const ClipFileContent content = ReadClipHistory(file);
        QVERIFY(!content.damaged);
        QCOMPARE(content.records.size(), size_t(1));
        const auto& blocks = content.records[0].blocks;
        QCOMPARE(blocks.size(), size_t(2));
        QCOMPARE(blocks[0].formatID, 0xC001u);
        QCOMPARE(blocks[0].bytes, QByteArrayView("{new}"));
        QCOMPARE(blocks[1].formatID, 1u);
    }

    void loadedBlocksShareTheFileSafely()
    {
        const QByteArray rtf = "{\\rtf1 " + QByteArray(4000, 'r') + "}";
        QByteArray file = Magic + Record("big", {{1, QByteArray(4000, 't') + '\0'}, {qint32(RtfFormat), rtf}});
        QMimeData data;
        {
            ClipHistory history(2);
            QCOMPARE(history.Load(ReadClipHistory(file).records, file), 1);
            const cClipboardCache& entry = history.Entry(history.EntryAtRow(0));
            QCOMPARE(entry.BlockAt(2), rtf);
            // The block is a view of the file's bytes, not a copy.
            QVERIFY(entry.BlockAt(2).constData() >= file.constData()
                    && entry.BlockAt(2).constData() < file.constData() + file.size());
            for (const ClipBlock& block : entry.Blocks())
                AddBlockTo(data, block);
            file = QByteArray();  // the history alone keeps the bytes now
            QCOMPARE(history.Entry(history.EntryAtRow(0)).BlockAt(2), rtf);
            history.Clear();
        }
        // What went to the clipboard outlives the history and the file.
        QCOMPARE(data.data(QStringLiteral("text/rtf")), rtf);
        QCOMPARE(data.text(), QString(4000, u't'));
    }

    void moreRecordsThanTheRingKeepsTheLast()
    {
        QByteArray file = Magic;
        for (int i = 1; i <= 5; ++i)
            file += Record(QByteArray::number(i), {{1, QByteArray::number(i)}});
        ClipHistory history(3);
        QCOMPARE(history.Load(ReadClipHistory(file).records), 3);
        QCOMPARE(Titles(history), QStringList({"5", "4", "3"}));
    }

    // Mutations of sound files: bytes flipped, cut, doubled and counts set
    // to the values that break careless readers. Bounded, so it stays fast.
    void mutatedFilesNeverHurt()
    {
        const QList<QByteArray> seeds = {
            Magic,
            Magic + Record("abc", {{1, QByteArray("abc", 4)}}),
            Magic + Record("two", {{1, QByteArray("two", 4)}, {0xC001, "{\\rtf1 two}"}}) + Record("x", {{1, "x"}}),
        };
        const qint32 interesting[] = {0, 1, -1, 3, 8, 0x7FFF, 32766, 32767, 0x7FFFFFFF, qint32(0x80000000), 0xC001};
        QRandomGenerator random(20261210);
        for (int round = 0; round < 30000; ++round) {
            QByteArray input = seeds[random.bounded(static_cast<int>(seeds.size()))];
            const int mutations = 1 + random.bounded(4);
            for (int m = 0; m < mutations && !input.isEmpty(); ++m) {
                const auto at = static_cast<qsizetype>(random.bounded(static_cast<quint32>(input.size())));
                switch (random.bounded(6)) {
                case 0: input[at] = static_cast<char>(input[at] ^ (1 << random.bounded(8))); break;
                case 1: input.truncate(at); break;
                case 2: input.insert(at, input.mid(at, random.bounded(16))); break;
                case 3: input.remove(at, random.bounded(8)); break;
                case 4: {
                    const QByteArray value = Int32(interesting[random.bounded(int(std::size(interesting)))]);
                    input.replace(at, std::min<qsizetype>(4, input.size() - at), value);
                    break;
                }
                default: input.append(seeds[2].mid(ClipFileMagicSize)); break;
                }
            }
            ccffuzz::CheckInput(input.constData(), static_cast<size_t>(input.size()));
        }
    }
};

REGISTER_TEST(TestClipHistoryFile);

#include "tst_ClipHistoryFile.moc"
