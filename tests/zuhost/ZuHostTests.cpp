// The container program of ZUEDIT32: its form file, its event sink, and whole
// headless runs of its scripts against the control created by ProgID.

#include "ZuBagFuzzCheck.h"
#include "zuhost/ZuHostBagFile.h"
#include "zuhost/ZuHostEventLog.h"
#include "zuhost/ZuHostScript.h"
#include "zuhost/ZuHostWindow.h"
#include "platform/registry/Registry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <random>

Q_DECLARE_METATYPE(std::vector<ZuBagEntry>)

namespace {

// An object with events of the kinds the control has.
class Source : public QObject {
    Q_OBJECT
signals:
    void Typed(short* key);
    void Moved(int* oldX, short* pane);
    void Named(const QString& source, QString* description, bool* cancel);
    void Plain();
};

struct Run {
    int exitCode = -1;
    QString output;
    QString errors;
};

}  // namespace

class ZuHostTests : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

    Run RunScript(const QString& script) { return RunHost({QStringLiteral("--script"), script}); }

    Run RunHost(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TALVEX_PROGRAM_DIR"), QStringLiteral(PROGRAM_DIR));
        env.insert(QStringLiteral("TALVEX_REGISTRY_DIR"), dir_->filePath(QStringLiteral("registry")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir_->path());
        process.start(QStringLiteral(ZUHOST_PATH), arguments);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    QString Script(const QString& name) const
    {
        return qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/tests/zuhost/scripts/") + name;
    }

    QString Write(const QString& name, const QString& text)
    {
        QFile file(dir_->filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(text.toUtf8());
        return file.fileName();
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { dir_.reset(); }

    // What zuhost does not understand ends it with its usage, not with a window
    // that ignored what was asked.
    void wrongArgumentsGiveTheUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("unknown option") << QStringList{"--scirpt", "a.zus"} << "unknown argument --scirpt";
        QTest::newRow("script without a file") << QStringList{"--script"} << "no value for --script";
        QTest::newRow("empty script name") << QStringList{"--script", ""} << "no value for --script";
        QTest::newRow("progid without a name") << QStringList{"--progid"} << "no value for --progid";
        QTest::newRow("stray word") << QStringList{"--progid", "X.Y", "a.zus"} << "unknown argument a.zus";
    }
    void wrongArgumentsGiveTheUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        const Run run = RunHost(arguments);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.output, QString());
        QVERIFY2(run.errors.contains(QStringLiteral("zuhost: ") + said + QStringLiteral("\nusage: zuhost ")),
                 qPrintable(run.errors));
    }

    void formFileKeepsEveryValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "G01 X10";
        QTest::newRow("empty") << "";
        QTest::newRow("line ends") << "a\r\nb\nc";
        QTest::newRow("backslashes") << "C:\\nc\\O1000";
        QTest::newRow("blanks around") << "  both ends\t";
        QTest::newRow("tab inside") << "a\tb";
        QTest::newRow("control bytes") << QString::fromLatin1("\x01\x7F");
        QTest::newRow("equals and brackets") << "[x]=y;z";
        QTest::newRow("not ASCII") << QString::fromUtf8("Ma\xC3\x9F 12\xC2\xB0");
    }
    void formFileKeepsEveryValue()
    {
        QFETCH(QString, value);
        const std::vector<ZuBagEntry> entries = {{"Version", "65536"}, {"SearchTarget", value.toStdString()}};
        const std::string text = ZuFormatBagFile(entries);
        QVERIFY(text.starts_with("[ZuEditor20]\n"));
        QCOMPARE(ZuParseBagFile(text), entries);
    }

    void formFileReaderTakesWhatItCan()
    {
        const std::vector<ZuBagEntry> entries =
            ZuParseBagFile("; note\r\n[Section]\r\nnoequals\r\n=no name\r\n  A = 1 \r\nB=\\q\\x4\r\nA=2");
        const std::vector<ZuBagEntry> expected = {{"A", "2"}, {"B", "\\q\\x4"}};
        QCOMPARE(entries, expected);
    }

    // The seeds of the fuzzer, then random mutations of them (a bounded run that needs no fuzzer).
    void formFileReaderSurvivesAnyBytes()
    {
        const QDir seeds(qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/tests/zuhost/fuzz/bag-seeds"));
        std::vector<std::string> inputs;
        for (const QFileInfo& info : seeds.entryInfoList(QDir::Files)) {
            QFile file(info.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            inputs.push_back(file.readAll().toStdString());
            bagfuzz::CheckInput(inputs.back().data(), inputs.back().size());
        }
        QVERIFY(!inputs.empty());
        std::mt19937 random(7);
        const std::string alphabet = "=\\\n\r\t []; ;xX0aF\x01\x80";
        for (int round = 0; round < 3000; ++round) {
            std::string input = inputs[random() % inputs.size()];
            const int edits = 1 + int(random() % 8);
            for (int e = 0; e < edits; ++e) {
                const std::size_t at = input.empty() ? 0 : random() % (input.size() + 1);
                const char c = alphabet[random() % alphabet.size()];
                switch (random() % 3) {
                case 0: input.insert(at, 1, c); break;
                case 1: if (at < input.size()) input.erase(at, 1); break;
                default: if (at < input.size()) input[at] = c; break;
                }
            }
            bagfuzz::CheckInput(input.data(), input.size());
        }
    }

    // By-reference arguments are answered before the sender reads them back.
    void eventLogAnswersByReferenceArguments()
    {
        Source source;
        ZuHostEventLog log;
        log.Attach(&source);
        log.SetAnswer(QStringLiteral("typed"), 0, 0);
        log.SetAnswer(QStringLiteral("Named"), 2, true);
        short key = 65;
        emit source.Typed(&key);
        QCOMPARE(key, short(0));
        int x = 5;
        short pane = 1;
        emit source.Moved(&x, &pane);
        QString description = QStringLiteral("Disk full.");
        bool cancel = false;
        emit source.Named(QStringLiteral("ZUEDIT2"), &description, &cancel);
        QVERIFY(cancel);
        emit source.Plain();
        QCOMPARE(log.Lines(), (QStringList{"Typed(0)", "Moved(5, 1)", "Named(\"ZUEDIT2\", \"Disk full.\", True)",
                                          "Plain()"}));
        log.Detach();
        emit source.Plain();
        QCOMPARE(log.Lines().size(), 4);
    }

    void scriptsRunHeadless_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("automation") << "automation.zus" << 0 << "passed";
        QTest::newRow("events") << "events.zus" << 0 << "passed";
        QTest::newRow("property sheet") << "sheet.zus" << 0 << "passed";
        QTest::newRow("a failing line") << "failing.zus" << 1 << "FAILED: ScrollBars is 2, expected 3";
    }
    void scriptsRunHeadless()
    {
        QFETCH(QString, script);
        QFETCH(int, exitCode);
        QFETCH(QString, lastLine);
        const Run run = RunScript(Script(script));
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.output));
        QCOMPARE(run.output.trimmed().split(u'\n').last(), lastLine);
    }

    // A form saved with a remembered save path and a file to open: loading it
    // into a new control never writes that path, and opens the file with the
    // settings saved after it.
    void loadingAFormNeverWritesAFile()
    {
        Write(QStringLiteral("in.txt"), QStringLiteral("a\nb"));
        const Run save = RunScript(Write(QStringLiteral("save.zus"), QStringLiteral(
            "set TextType 2\nset FileOpen in.txt\nset FileSave out.txt\nget Count 2\nsave-bag form.zuf\n")));
        QVERIFY2(save.exitCode == 0, qPrintable(save.output));
        QVERIFY(QFile::remove(dir_->filePath(QStringLiteral("out.txt"))));
        const Run load = RunScript(Write(QStringLiteral("load.zus"), QStringLiteral(
            "load-bag form.zuf\nget TextType 2\nget Count 2\nget IsDirty False\n")));
        QVERIFY2(load.exitCode == 0, qPrintable(load.output));
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("out.txt"))));
    }

    // The window: the control in the middle, a line typed below the log runs as a script line.
    void windowRunsTypedLinesAndLogsEvents()
    {
        qputenv("TALVEX_PROGRAM_DIR", PROGRAM_DIR);
        qputenv("TALVEX_REGISTRY_DIR", dir_->filePath(QStringLiteral("registry")).toLocal8Bit());
        platform::SetRegistryFolder(dir_->filePath(QStringLiteral("registry")));
        ZuHostScript script;
        script.Create(QString());
        ZuHostWindow window(script);
        window.show();
        QCOMPARE(window.centralWidget(), script.ControlWidget());
        auto* line = window.findChild<QLineEdit*>();
        auto* log = window.findChild<QPlainTextEdit*>();
        QVERIFY(line && log);
        for (const char* command : {"set SplitterType 1", "set PaneFocus 1", "get ScrollBars 2"}) {
            line->setText(QString::fromLatin1(command));
            QTest::keyClick(line, Qt::Key_Return);
        }
        const QString text = log->toPlainText();
        QVERIFY2(text.contains(QLatin1String("event PaneFocusChange(0)")), qPrintable(text));
        QVERIFY2(text.contains(QLatin1String("failed: ScrollBars is 3, expected 2")), qPrintable(text));
        QVERIFY(line->text().isEmpty());
        // A new control takes the old one's place.
        line->setText(QStringLiteral("create"));
        QTest::keyClick(line, Qt::Key_Return);
        QCOMPARE(window.centralWidget(), script.ControlWidget());
        // The log keeps its last line in sight, also once the control was replaced.
        for (int i = 0; i < 40; ++i) {
            line->setText(QStringLiteral("get Count"));
            QTest::keyClick(line, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        QCOMPARE(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
        platform::SetRegistryFolder(QString());
    }

    void wordsAndValuesOfAScriptLine()
    {
        const QStringList words = ZuHostScript::Words(QStringLiteral("set  SearchTarget \"G01 \\\"X\\\"\"  "));
        QCOMPARE(words.size(), 3);
        QCOMPARE(ZuHostScript::ValueOf(words[2]).toString(), QStringLiteral("G01 \"X\""));
        QCOMPARE(ZuHostScript::ValueOf(QStringLiteral("&H80000008&")).toLongLong(), 0x80000008LL);
        QCOMPARE(ZuHostScript::ValueOf(QStringLiteral("0x10")).toLongLong(), 16LL);
        QCOMPARE(ZuHostScript::TextOf(ZuHostScript::ValueOf(QStringLiteral("true"))), QStringLiteral("True"));
        QCOMPARE(ZuHostScript::ValueOf(QStringLiteral("-5")).toLongLong(), -5LL);
    }
};

QTEST_MAIN(ZuHostTests)
#include "ZuHostTests.moc"
