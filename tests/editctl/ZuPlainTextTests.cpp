// Streams, and plain text loaded and saved: byte-exact round trips whatever
// the line ends, chunk edges, OEM conversion, range types, and the file layer.

#include "editctl/ZuTextFile.h"
#include "editctl/engine/ZuFileInStream.h"
#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuMemoryInStream.h"
#include "editctl/engine/ZuTextDocument.h"
#include "support/TestRegistry.h"
#include "editctl/ZuTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SaveAll(const ZuTextDocument& doc, int type, bool convert = false)
{
    ZuGlobalOutStream out;
    const ZuErr error = doc.Save(0, ZuTextRange({0, 0}, {0, 0}, ZuRangeWhole), out, type, convert);
    return error == ZuOk ? out.Data() : "error " + std::to_string(error);
}

} // namespace

class ZuPlainTextTests : public QObject {
    Q_OBJECT
private slots:
    void memoryStream()
    {
        const char data[] = "abc";
        ZuMemoryInStream in(data, 3);
        char buffer[8];
        QCOMPARE(in.Read(buffer, 8), std::size_t(3));
        QVERIFY(in.AtEnd());
        QCOMPARE(in.GetChar(), -1);
        in.Seek(-5, 1); // clamps to the start
        QCOMPARE(in.Tell(), std::int64_t(0));
        QVERIFY(!in.AtEnd());
        QCOMPARE(in.GetChar(), int('a'));
        in.Seek(3);
        QVERIFY(in.AtEnd());
        for (int i = 0; i < 16; ++i)
            in.UngetChar('x');
        QVERIFY(!in.Bad());
        in.UngetChar('x');
        QVERIFY(in.Bad());
        QCOMPARE(in.Error(), ZuErrStream);
    }

    void fileStreamSeeksWithinItsBuffer()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes;
        for (int i = 0; i < 1000; ++i)
            bytes.append(char('a' + i % 26));
        file.write(bytes);
        file.close();
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        {
            ZuFileInStream in(fd, 64);
            QCOMPARE(in.Length(), std::int64_t(1000));
            char buffer[100];
            QCOMPARE(in.Read(buffer, 100), std::size_t(100));
            in.Seek(-10, 1); // inside the window
            QCOMPARE(in.GetChar(), int(bytes[90]));
            in.Seek(5); // before the window: the file is sought
            QCOMPARE(in.GetChar(), int(bytes[5]));
            in.Seek(990);
            QCOMPARE(in.Read(buffer, 100), std::size_t(10));
            QVERIFY(in.AtEnd());
            for (int i = 0; i < 32; ++i)
                in.UngetChar('x');
            QVERIFY(!in.Bad());
            in.UngetChar('x');
            QCOMPARE(in.Error(), ZuErrStream);
        }
        ::close(fd);
    }

    void globalStreamGathersManyWrites()
    {
        ZuGlobalOutStream out;
        out.Write("", 0);
        QCOMPARE(out.Data().capacity() > 0 || out.Data().empty(), true);
        std::string expected;
        for (int i = 0; i < 10000; ++i) {
            const std::string piece = std::to_string(i);
            out.Write(piece.data(), piece.size());
            expected += piece;
        }
        QCOMPARE(out.Data(), expected);
        QCOMPARE(out.Data().c_str()[expected.size()], '\0');
        QCOMPARE(out.Detach(), expected);
        QCOMPARE(out.Tell(), std::int64_t(0));
    }

    void roundTripsByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("type");
        QTest::newRow("CR LF, ending with one") << QByteArray("a\r\nb\r\n") << 1;
        QTest::newRow("CR LF, open last line") << QByteArray("a\r\nb") << 1;
        QTest::newRow("LF") << QByteArray("a\nb\n") << 2;
        QTest::newRow("a lone LF in CR LF text") << QByteArray("a\nb\r\nc") << 1;
        QTest::newRow("CR only") << QByteArray("a\rb\r") << 2;
        QTest::newRow("empty") << QByteArray() << 1;
        QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\0\r\n", 8) << 1;
        QTest::newRow("Windows-1252 bytes") << QByteArray("\x80\xe9\xff\n\x9f\n") << 2;
        QTest::newRow("CR LF inside LF text") << QByteArray("a\nb\r\nc\n") << 1;
        QTest::newRow("braces, not RTF") << QByteArray("{x}\r\n{a} more") << 1;
        QTest::newRow("brace first, LF") << QByteArray("{\"json\": 1}\n") << 2;
        QTest::newRow("blank lines") << QByteArray("\r\n\r\n\r\n") << 1;
    }
    void roundTripsByteForByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, type);
        for (std::uint32_t blockSize : {4u, 4096u}) {
            ZuTextDocument doc(nullptr, blockSize);
            ZuMemoryInStream in(bytes.constData(), std::size_t(bytes.size()));
            int found = 0;
            QCOMPARE(doc.Load(in, found, false), ZuOk);
            QCOMPARE(found, type);
            QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
            QCOMPARE(Shown(SaveAll(doc, found)), Shown(bytes.toStdString()));
        }
    }

    // Long random texts cross chunk edges everywhere: what comes back is what went in.
    void largeTextsRoundTrip_data()
    {
        QTest::addColumn<bool>("crlf");
        QTest::newRow("CR LF") << true;
        QTest::newRow("LF") << false;
    }
    void largeTextsRoundTrip()
    {
        QFETCH(bool, crlf);
        std::mt19937 random(7);
        std::string text;
        while (text.size() < 300000) {
            const int what = std::uniform_int_distribution<int>(0, 30)(random);
            if (what == 0)
                text += crlf ? "\r\n" : "\n";
            else if (what == 1)
                text += '\r';
            else if (what == 2 && crlf)
                text += '\n';
            else if (what == 3)
                text += std::string(std::size_t(std::uniform_int_distribution<int>(0, 3000)(random)), 'w');
            else
                text += char(std::uniform_int_distribution<int>(0, 255)(random));
        }
        if (crlf)
            text.insert(0, "\r\n"); // decides the mode in the first chunk
        else
            for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p))
                text.erase(p, 1); // a CR before an LF would make it CR LF text
        ZuTextDocument doc;
        ZuMemoryInStream in(text.data(), text.size());
        int found = 0;
        QCOMPARE(doc.Load(in, found, false), ZuOk);
        QCOMPARE(found, crlf ? 1 : 2);
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
        QVERIFY(SaveAll(doc, found) == text);
    }

    void longestLineAcrossAChunkEdge()
    {
        std::string text = "x\r\n" + std::string(65500, 'a') + "\r\nend";
        ZuTextDocument doc;
        ZuMemoryInStream in(text.data(), text.size());
        int found = 0;
        QCOMPARE(doc.Load(in, found, false), ZuOk);
        QCOMPARE(doc.LineCount(0), 3u);
        QVERIFY(SaveAll(doc, found) == text);

        std::string tooLong = std::string(65501, 'a') + "\r\n";
        ZuMemoryInStream in2(tooLong.data(), tooLong.size());
        QCOMPARE(doc.Load(in2, found, false), ZuErrLineLength);
    }

    void detection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("result"); // the type found, or -error
        QTest::newRow("bare LF then CR LF") << QByteArray("a\nb\r\nc") << 0 << 1;
        QTest::newRow("no LF at all") << QByteArray("abc") << 0 << 2;
        QTest::newRow("DOS asked for LF text") << QByteArray("a\nb") << 1 << 1;
        QTest::newRow("Unix asked for CR LF text") << QByteArray("a\r\nb") << 2 << 2;
        QTest::newRow("RTF asked, plain given") << QByteArray("{x}") << 3 << -ZuErrRtf;
        QTest::newRow("bad type") << QByteArray("x") << 4 << -ZuErrBadParameter;
    }
    void detection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, asked);
        QFETCH(int, result);
        ZuTextDocument doc;
        ZuMemoryInStream in(bytes.constData(), std::size_t(bytes.size()));
        int type = asked;
        const ZuErr error = doc.Load(in, type, false);
        if (result < 0) {
            QCOMPARE(error, -result);
        } else {
            QCOMPARE(error, ZuOk);
            QCOMPARE(type, result);
        }
    }

    void savesLineEndsAndRanges()
    {
        const std::string text = "one\r\ntwo\r\nthree";
        ZuTextDocument doc;
        ZuMemoryInStream in(text.data(), text.size());
        int type = 0;
        QCOMPARE(doc.Load(in, type, false), ZuOk);
        QCOMPARE(SaveAll(doc, 2), std::string("one\ntwo\nthree"));
        auto save = [&](const ZuTextRange& range, int as) {
            ZuGlobalOutStream out;
            const ZuErr error = doc.SavePlainText(0, range, out, as, false);
            return error == ZuOk ? out.Data() : "error";
        };
        QCOMPARE(save(ZuTextRange({1, 1}, {2, 2}, ZuRangeStream), 1), std::string("ne\r\ntw"));
        QCOMPARE(save(ZuTextRange({2, 2}, {1, 1}, ZuRangeStream), 2), std::string("ne\ntw"));
        QCOMPARE(save(ZuTextRange({1, 1}, {2, 2}, ZuRangeLine), 1), std::string("one\r\ntwo"));
        QCOMPARE(save(ZuTextRange({1, 1}, {3, 3}, ZuRangeColumn), 2), std::string("ne\nwo\nhr"));
        QCOMPARE(save(ZuTextRange({1, 1}, {3, 3}, 0), 1), std::string("error"));
        // Soft-wrapped lines are joined.
        ZuWrapRequest request;
        request.lastLine = doc.LineCount(0);
        request.width = 16;
        QCOMPARE(doc.WrapLines(request, 0), ZuOk);
        QVERIFY(doc.LineCount(0) > 3);
        QCOMPARE(SaveAll(doc, 1), text);
    }

    void oemConversionBothWays()
    {
        const std::string oem = "caf\x82 \xe1\r\n";
        ZuTextDocument doc;
        ZuMemoryInStream in(oem.data(), oem.size());
        int type = 0;
        QCOMPARE(doc.Load(in, type, true), ZuOk);
        QCOMPARE(Shown(doc.Text()), Shown("caf\xe9 \xdf\r\n"));
        QCOMPARE(Shown(SaveAll(doc, type, true)), Shown(oem));
        QCOMPARE(Shown(doc.Text()), Shown("caf\xe9 \xdf\r\n")); // the document is unchanged
    }

    void filesLoadAndSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("name with * and ?.txt");
        const QByteArray bytes("a\r\nb\x00\xe9\r\nc", 9);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        ZuTextDocument doc;
        int type = 0;
        QVERIFY(ZuLoadFile(path, doc, type, false).Ok());
        QCOMPARE(type, 1);
        const ZuTextRange whole({0, 0}, {0, 0}, ZuRangeWhole);
        QVERIFY(ZuSaveFile(path, doc, 0, whole, type, false, false).Ok());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        file.close();
        QVERIFY(ZuSaveFile(path, doc, 0, whole, 2, false, true).Ok()); // appended in place
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes + QByteArray("a\nb\x00\xe9\nc", 7));
        file.close();

        // Only regular files.
        ZuTextDocument other;
        QCOMPARE(ZuLoadFile(dir.path(), other, type, false).fileError, EISDIR);
        QCOMPARE(ZuLoadFile("/dev/zero", other, type, false).fileError, EINVAL);
        QCOMPARE(ZuSaveFile(dir.path(), doc, 0, whole, 1, false, false).fileError, EISDIR);
        QCOMPARE(ZuLoadFile(dir.filePath("missing"), other, type, false).fileError, ENOENT);
        QCOMPARE(other.ByteCount(), 0u);

        // A folder without write permission: error 13, the file unchanged.
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
            QCOMPARE(ZuSaveFile(path, other, 0, whole, 1, false, false).fileError, EACCES);
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll().size(), bytes.size() + 7);
        }
    }
};

REGISTER_TEST(ZuPlainTextTests);
#include "ZuPlainTextTests.moc"
