// open_bench: how the CodeMax adapter copes with large NC programs, beside a
// bare QsciScintilla doing the same work.
//
// The bare control is set up as a plain editor of large files sets up
// Scintilla: the same lexer as the adapter's (CodeMaxLexer with the "CNC"
// language) styling in idle time only what is not yet styled, the file read
// in blocks into a document sized for it, only the modification notices it
// uses, and no accessible text (QScintilla's own counts the characters from
// the start of the document on every edit and repaint). So the ratios show
// what the adapter itself adds.
//
// Both sides do the same work and must give the same output: the same bytes
// after opening and after replacing, the same styles after colouring, the
// same last line after typing (checked; a difference stops the benchmark).
// They are timed the same way, in interleaved rounds whose order swaps each
// round, and every figure is the median of the rounds with their spread
// (lowest to highest) beside it.
//
// Printed, for generated programs of 10^4, 10^5 and 10^6 lines: the time to
// open the file, to colour the whole text and to replace the whole text with
// one edit (target: adapter / bare at most 1.5). Then, for the largest
// program: the time per key of keys typed at its end, while it is still
// being coloured in idle time and once it is (target: under 16 ms); and the
// memory that opening, colouring and typing add, at the end and at its peak,
// per byte of the file, each side measured in a fresh process of its own
// (target: the adapter adds no more per byte than the bare control).
//
// Last, key to paint: keys typed at the first line and at the end of the
// largest program in a Pelmar document window (inside its main window, with
// the window's change, caret and selection handlers, status line and menus)
// and in a bare QsciScintilla window (the one above), each key delivered as
// the window system delivers it (shortcuts looked up first) and timed until
// the window's update that painted it is over, painted and handed to the
// screen. The two windows are typed into in turns of a few keys, the one
// typed into being the active window (target: Pelmar / bare at most 1.2).
// Then the CPU time per key, at the first line and at the end, of 20 keys
// typed 100 ms apart and counted until 3 s after the last, so that what a
// key leaves for idle time (colouring) counts too (target: at the first
// line at most twice what it is at the end). Under an X server
// (QT_QPA_PLATFORM=xcb) the frame goes to the X server.
//
// Usage: open_bench [--lines N] [--rounds R] [--keys-only]
//   (headless: QT_QPA_PLATFORM=offscreen; --keys-only: only key to paint)

#include "document/NcLanguage.h"
#include "document/frmNotePad.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/codemax/CodeMaxLexer.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/registry/Registry.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/basFileDialogs.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using platform::CodeMax;
using Sci = QsciScintillaBase;

namespace {

constexpr qint64 readBlock = 1 << 20;

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return msSince(t);
}

// Median and spread of a set of measurements.
struct Figure {
    double median = 0, low = 0, high = 0;
};

Figure figureOf(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

QByteArray shown(const Figure& f, int decimals = 1)
{
    return QByteArray::number(f.median, 'f', decimals) + " [" + QByteArray::number(f.low, 'f', decimals) + "-"
           + QByteArray::number(f.high, 'f', decimals) + "]";
}

long statusKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// An NC program like those of the machine shop: blocks with addresses,
// now and then a comment or an M code. Written a block at a time.
qint64 writeProgram(const QString& path, int lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block;
    for (int i = 0; i < lines; ++i) {
        block.clear();
        if (i % 50 == 0)
            block = "N" + QByteArray::number(i * 10) + " (CONTOUR PASS " + QByteArray::number(i / 50) + ")\r\n";
        else if (i % 97 == 0)
            block = "N" + QByteArray::number(i * 10) + " M08 S1200 M03\r\n";
        else
            block = "N" + QByteArray::number(i * 10) + " G01 X" + QByteArray::number((i % 9973) * 0.013, 'f', 3)
                + " Y-" + QByteArray::number((i % 7919) * 0.007, 'f', 3) + " F200\r\n";
        f.write(block);
    }
    return f.size();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

// The whole text renumbered by 5 instead of 10: every line changes.
QString renumbered(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const qsizetype space = line.indexOf(' ');
        if (line.startsWith('N') && space > 0)
            out += QLatin1Char('N') + QString::number(i * 5) + line.mid(space);
        else
            out += line;
        if (i + 1 < lines.size())
            out += QStringLiteral("\r\n");
    }
    return out;
}

// ---------------------------------------------------------------- the sides

QAccessibleInterface* plainAccessible(const QString&, QObject* object)
{
    if (object && object->isWidgetType() && object->inherits("QsciScintillaBase"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
    return nullptr;
}

std::shared_ptr<const platform::CodeMaxLanguage> ncLanguage()
{
    CodeMax registrar;
    RegisterNcLanguage(registrar);
    return platform::CodeMaxGlobals().FindLanguage(QStringLiteral("CNC"));
}

// A bare QsciScintilla, set up as a plain editor of large files would.
class Bare : public QsciScintilla {
public:
    Bare()
    {
        static const bool plain = [] {
            QAccessible::installFactory(plainAccessible);
            return true;
        }();
        (void)plain;
        auto* lexer = new platform::CodeMaxLexer(this);
        lexer->SetLanguage(ncLanguage());
        setLexer(lexer);
        SendScintilla(SCI_SETIDLESTYLING, SC_IDLESTYLING_ALL);
        SendScintilla(SCI_SETMODEVENTMASK, SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE);
        SendScintilla(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
        SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
        SendScintilla(SCI_SETEOLMODE, SC_EOL_CRLF);
    }

    // Read in blocks into a document sized for the file, with no undo record.
    void Open(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
        SendScintilla(SCI_CLEARALL);
        SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(f.size() + 4096));
        QByteArray block(readBlock, Qt::Uninitialized);
        for (qint64 got; (got = f.read(block.data(), readBlock)) > 0;)
            SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(got), block.constData());
        SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
        SendScintilla(SCI_EMPTYUNDOBUFFER);
        SendScintilla(SCI_SETSAVEPOINT);
        SendScintilla(SCI_GOTOPOS, 0UL);
    }

    // Styles up to the end: the lexer styles a piece per request.
    void Colourise()
    {
        const long length = SendScintilla(SCI_GETLENGTH);
        for (long before = -1, now = SendScintilla(SCI_GETENDSTYLED); now < length && now != before;
             before = now, now = SendScintilla(SCI_GETENDSTYLED))
            SendScintilla(SCI_COLOURISE, static_cast<unsigned long>(now), -1L);
    }

    void Replace(const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        SendScintilla(SCI_BEGINUNDOACTION);
        SendScintilla(SCI_SETTARGETRANGE, 0UL, SendScintilla(SCI_GETLENGTH));
        SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
        SendScintilla(SCI_ENDUNDOACTION);
    }
};

std::unique_ptr<CodeMax> makeAdapter()
{
    auto control = std::make_unique<CodeMax>();
    RegisterNcLanguage(*control);
    control->SetLanguage(QStringLiteral("CNC"));
    return control;
}

// ----------------------------------------------------------- checked output

QByteArray documentBytes(const QsciScintilla& editor)
{
    const long length = editor.SendScintilla(Sci::SCI_GETLENGTH);
    const auto* p = reinterpret_cast<const char*>(editor.SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    return QByteArray(p, length);
}

quint64 stylesHash(const QsciScintilla& editor)
{
    const long length = editor.SendScintilla(Sci::SCI_GETLENGTH);
    quint64 hash = 1469598103934665603ULL;
    for (long i = 0; i < length; ++i)
        hash = (hash ^ quint64(editor.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(i)))) * 1099511628211ULL;
    return hash;
}

void expectSame(const QByteArray& got, const QByteArray& wanted, const char* side, const char* what)
{
    if (got != wanted)
        qFatal("%s: the text after %s differs (%lld bytes, %lld wanted)", side, what, static_cast<long long>(got.size()),
               static_cast<long long>(wanted.size()));
}

// ------------------------------------------------------ open, colour, replace

struct Samples {
    std::vector<double> openA, openB, styleA, styleB, replaceA, replaceB;
};

void measureRound(const QString& path, const QByteArray& fileBytes, const QString& newText,
                  const QByteArray& newBytes, bool bareFirst, bool checkStyles, Samples& s)
{
    quint64 stylesA = 0, stylesB = 0;
    const auto adapterRun = [&] {
        const std::unique_ptr<CodeMax> adapter = makeAdapter();
        QsciScintilla& pane = *adapter->ActivePane();
        s.openA.push_back(timed([&] { adapter->OpenFile(path); }));
        expectSame(documentBytes(pane), fileBytes, "adapter", "opening");
        s.styleA.push_back(timed([&] { adapter->Colourise(); }));
        if (checkStyles)
            stylesA = stylesHash(pane);
        const platform::CodeMaxRange all{0, 0, adapter->LineCount() - 1, 1 << 30};
        s.replaceA.push_back(timed([&] { adapter->ReplaceText(newText, all); }));
        expectSame(documentBytes(pane), newBytes, "adapter", "replacing");
    };
    const auto bareRun = [&] {
        Bare bare;
        s.openB.push_back(timed([&] { bare.Open(path); }));
        expectSame(documentBytes(bare), fileBytes, "bare", "opening");
        s.styleB.push_back(timed([&] { bare.Colourise(); }));
        if (checkStyles)
            stylesB = stylesHash(bare);
        s.replaceB.push_back(timed([&] { bare.Replace(newText); }));
        expectSame(documentBytes(bare), newBytes, "bare", "replacing");
    };
    if (bareFirst) {
        bareRun();
        malloc_trim(0);
        adapterRun();
    } else {
        adapterRun();
        malloc_trim(0);
        bareRun();
    }
    malloc_trim(0);
    if (checkStyles && stylesA != stylesB)
        qFatal("the adapter and the bare control colour the text differently");
}

// ----------------------------------------------------------------- typing

void pump()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool styledToEnd(const QsciScintilla& pane)
{
    return pane.SendScintilla(Sci::SCI_GETENDSTYLED) >= pane.SendScintilla(Sci::SCI_GETLENGTH);
}

// Keys typed at the end of the text, each handled, shown on screen and
// followed by one pass of the event loop before the next.
void typeAtEnd(QsciScintilla& pane, int keys, std::vector<double>& perKey)
{
    for (int i = 0; i < keys; ++i) {
        QElapsedTimer t;
        t.start();
        const QString ch(QChar('0' + i % 10));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + i % 10, Qt::NoModifier, ch);
        QCoreApplication::sendEvent(&pane, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + i % 10, Qt::NoModifier, ch);
        QCoreApplication::sendEvent(&pane, &release);
        pane.viewport()->repaint();
        QCoreApplication::processEvents();  // what the key itself queued
        perKey.push_back(msSince(t));
    }
}

struct Typing {
    std::vector<double> colouring, coloured;
    double goToEnd = 0;
};

constexpr int keysPerPhase = 10;

// One side: open, go to the end and show it, type while the text is being
// coloured in idle time, wait until it is coloured, type again.
void typingRun(QWidget& window, QsciScintilla& pane, const std::function<void()>& open,
               const std::function<void()>& toEnd, Typing& out, std::vector<double>& goToEnd, const char* side)
{
    window.resize(900, 700);
    window.show();
    pump();
    open();
    pump();
    goToEnd.push_back(timed([&] {
        toEnd();
        pane.viewport()->repaint();
        pump();
    }));
    pane.setFocus();
    typeAtEnd(pane, keysPerPhase, out.colouring);
    while (!styledToEnd(pane))
        QCoreApplication::processEvents();
    typeAtEnd(pane, keysPerPhase, out.coloured);
    const long length = pane.SendScintilla(Sci::SCI_GETLENGTH);
    const QByteArray tail = documentBytes(pane).mid(length - 2 * keysPerPhase);
    if (tail != "01234567890123456789")
        qFatal("%s: typing at the end went wrong: %s", side, tail.constData());
}

// ----------------------------------------------------------------- memory

// In a fresh process: what opening, colouring and typing add to the
// resident memory, at the end and at its peak (KiB).
int memoryChild(const QString& side, const QString& path)
{
    std::unique_ptr<CodeMax> adapter;
    std::unique_ptr<Bare> bare;
    QsciScintilla* pane = nullptr;
    if (side == u"adapter") {
        adapter = makeAdapter();
        adapter->resize(900, 700);
        adapter->show();
        pane = adapter->ActivePane();
    } else {
        bare = std::make_unique<Bare>();
        bare->resize(900, 700);
        bare->show();
        pane = bare.get();
    }
    pump();
    malloc_trim(0);
    const long before = statusKb("VmRSS:");
    {
        // The peak from here on: the kernel starts it again at the present size.
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");
    }
    if (adapter)
        adapter->OpenFile(path);
    else
        bare->Open(path);
    pump();
    if (adapter)
        adapter->Colourise();
    else
        bare->Colourise();
    pane->SendScintilla(Sci::SCI_DOCUMENTEND);
    pane->viewport()->repaint();
    pane->setFocus();
    std::vector<double> unused;
    typeAtEnd(*pane, keysPerPhase, unused);
    pump();
    malloc_trim(0);
    std::printf("%ld %ld\n", statusKb("VmRSS:") - before, statusKb("VmHWM:") - before);
    return 0;
}

struct Memory {
    std::vector<double> addedA, addedB, peakA, peakB;  // MiB
};

void memoryRound(const QString& self, const QString& path, bool bareFirst, Memory& m)
{
    const auto run = [&](const QString& side, std::vector<double>& added, std::vector<double>& peak) {
        QProcess child;
        child.start(self, {QStringLiteral("--memory"), side, path});
        if (!child.waitForFinished(300000) || child.exitCode() != 0)
            qFatal("the %s memory run failed: %s", qPrintable(side), child.readAllStandardError().constData());
        const QList<QByteArray> kb = child.readAllStandardOutput().trimmed().split(' ');
        added.push_back(kb.value(0).toDouble() / 1024.0);
        peak.push_back(kb.value(1).toDouble() / 1024.0);
    };
    if (bareFirst) {
        run(QStringLiteral("bare"), m.addedB, m.peakB);
        run(QStringLiteral("adapter"), m.addedA, m.peakA);
    } else {
        run(QStringLiteral("adapter"), m.addedA, m.peakA);
        run(QStringLiteral("bare"), m.addedB, m.peakB);
    }
}

// ------------------------------------------------------------ key to paint

// Times the frames of a window: when the window's update that painted the
// watched widget is over (painted and handed to the screen).
class FrameWatch : public QObject {
public:
    FrameWatch(QWidget& window, QWidget& watched) : window_(window)
    {
        window.installEventFilter(this);
        watched.installEventFilter(this);
    }
    void Start()
    {
        painted_ = shown_ = false;
        clock_.start();
    }
    bool Shown() const { return shown_; }
    double Ms() const { return ms_; }
    double Waited() const { return msSince(clock_); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object != &window_) {
            if (event->type() == QEvent::Paint)
                painted_ = true;
            return false;
        }
        if (event->type() != QEvent::UpdateRequest || inside_)
            return false;
        // The update runs here, so that its end can be timed.
        inside_ = true;
        QCoreApplication::sendEvent(&window_, event);
        inside_ = false;
        if (painted_ && !shown_) {
            shown_ = true;
            ms_ = msSince(clock_);
        }
        return true;
    }

private:
    QWidget& window_;
    QElapsedTimer clock_;
    bool painted_ = false, shown_ = false, inside_ = false;
    double ms_ = 0;
};

// Median and spread (10th to 90th percentile) of many measurements.
Figure percentiles(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const auto at = [&](double p) { return values[size_t(p * double(values.size() - 1) + 0.5)]; };
    return {figureOf(values).median, at(0.1), at(0.9)};
}

// CPU time of the whole process so far (all threads), ms.
double cpuMs()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(use.ru_utime) + ms(use.ru_stime);
}

// Runs the event loop as the program does, idle included, for a while.
void idleFor(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

enum class Where { FirstLine, End };

const char* whereName(Where where) { return where == Where::FirstLine ? "at the first line" : "at the end"; }

// One window typed into: its editor holds the program; the keys type blocks
// of a program, a line break ending each, at the first line (before what
// was typed there) or at the end.
class KeySide {
public:
    KeySide(QWidget& window, QsciScintilla& pane) : window_(window), pane_(pane), frames_(window, *pane.viewport()) {}
    void Activate(Where where)
    {
        window_.activateWindow();
        if (!QTest::qWaitForWindowActive(&window_, 5000))
            qFatal("the window to type into did not become active");
        pane_.setFocus();
        if (where == Where::End)
            pane_.SendScintilla(Sci::SCI_DOCUMENTEND);
        else
            pane_.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(typed(Where::FirstLine).size()));
        pump();
    }
    // One key as the window system gives it (shortcuts looked up first),
    // timed until the frame that shows it.
    void Key(Where where)
    {
        frames_.Start();
        click(where);
        while (!frames_.Shown()) {
            if (frames_.Waited() > 10000)
                qFatal("a key typed was not shown");
            QCoreApplication::processEvents();
        }
        perKey[where == Where::End].push_back(frames_.Ms());
    }
    // Keys typed 100 ms apart, the event loop running between them as it
    // does for a user; the CPU time they cost, counted until 3 s after the
    // last (so that work left for idle time counts too), per key, ms.
    void Paced(Where where, int keys)
    {
        QElapsedTimer clock;
        const double before = cpuMs();
        clock.start();
        for (int k = 0; k < keys; ++k) {
            idleFor(int(100 * k - clock.elapsed()));
            click(where);
        }
        idleFor(int(100 * (keys - 1) + 3000 - clock.elapsed()));
        cpu[where == Where::End].push_back((cpuMs() - before) / keys);
    }
    // Whether the text starts and ends with what was typed there.
    bool TypedRight() const
    {
        const QByteArray text = documentBytes(pane_);
        return text.startsWith(typed(Where::FirstLine)) && text.endsWith(typed(Where::End));
    }
    bool Coloured() const { return styledToEnd(pane_); }
    std::vector<double> perKey[2], cpu[2];  // [0] at the first line, [1] at the end

private:
    void click(Where where)
    {
        int& count = typed_[where == Where::End];
        const char key = block[size_t(count) % (sizeof block - 1)];
        if (key == '\n')
            QTest::keyClick(window_.windowHandle(), Qt::Key_Return);
        else
            QTest::keyClick(window_.windowHandle(), key);
        ++count;
    }
    QByteArray typed(Where where) const
    {
        QByteArray text;
        for (int i = 0; i < typed_[where == Where::End]; ++i) {
            const char key = block[size_t(i) % (sizeof block - 1)];
            text += key == '\n' ? QByteArray("\r\n") : QByteArray(1, key);
        }
        return text;
    }
    static constexpr char block[] = "N5 G01 X12.5 Y7\n";
    QWidget& window_;
    QsciScintilla& pane_;
    FrameWatch frames_;
    int typed_[2] = {0, 0};
};

// Pelmar's main window with the program open in a document window, beside
// a bare QsciScintilla window holding it too, typed into in turns, at the
// first line and at the end.
void keyToPaint(const QString& path, int rounds, int cpuRounds)
{
    constexpr int keysPerRound = 5;
    constexpr int pacedKeys = 20;
    // Pelmar as it starts, with settings of its own in folders of the benchmark.
    QTemporaryDir program, registry;
    qputenv("TALVEX_PROGRAM_DIR", program.path().toLocal8Bit());
    platform::SetRegistryFolder(registry.path());
    const platform::ScriptedAnswers noBoxes;
    CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
    std::unique_ptr<MDIMain> main = Main({});
    if (!main || !OpenFileInWindow(path, false))
        qFatal("Pelmar did not open the program");
    CodeMax& text = ActiveText1();
    text.Colourise();
    Bare bare;
    bare.resize(text.ActivePane()->size());
    bare.show();
    bare.Open(path);
    bare.Colourise();
    pump();
    KeySide pelmar(*main, *text.ActivePane());
    KeySide plain(bare, bare);
    const auto settle = [&] {
        // Neither side still colouring what an earlier turn left.
        while (!pelmar.Coloured() || !plain.Coloured())
            QCoreApplication::processEvents();
        pump();
    };
    for (int round = 0; round < rounds; ++round) {
        KeySide* order[] = {&pelmar, &plain};
        if (round % 2)
            std::swap(order[0], order[1]);
        for (Where where : {Where::FirstLine, Where::End})
            for (KeySide* side : order) {
                side->Activate(where);
                for (int k = 0; k < keysPerRound; ++k)
                    side->Key(where);
            }
    }
    for (int round = 0; round < cpuRounds; ++round) {
        KeySide* order[] = {&pelmar, &plain};
        if (round % 2)
            std::swap(order[0], order[1]);
        for (Where where : {Where::FirstLine, Where::End})
            for (KeySide* side : order) {
                side->Activate(where);
                settle();
                side->Paced(where, pacedKeys);
            }
    }
    if (!pelmar.TypedRight() || !plain.TypedRight())
        qFatal("typing went wrong");
    if (!noBoxes.msgBoxes().isEmpty())
        qFatal("Pelmar showed a message: %s", qPrintable(noBoxes.msgBoxes().first().prompt));

    std::printf("\nkeys typed in the %s program, on %s\n", qPrintable(QFileInfo(path).fileName()),
                qPrintable(QGuiApplication::platformName()));
    std::printf("key to paint: %d keys per side and place in rounds of %d\n", rounds * keysPerRound, keysPerRound);
    std::printf("%-44s %-36s %-36s %5s\n", "ms, median [10th-90th percentile]", "Pelmar document window",
                "bare QsciScintilla", "ratio");
    for (Where where : {Where::FirstLine, Where::End}) {
        const bool end = where == Where::End;
        const Figure p = percentiles(pelmar.perKey[end]), b = percentiles(plain.perKey[end]);
        std::printf("%-44s %-36s %-36s %5.2f\n",
                    (QByteArray("key to paint ") + whereName(where) + (end ? " (target <= 1.2)" : "")).constData(),
                    shown(p, 3).constData(), shown(b, 3).constData(), p.median / b.median);
    }
    std::printf("CPU per key: %d keys 100 ms apart, counted until 3 s after the last, %d rounds per side and place\n",
                pacedKeys, cpuRounds);
    std::printf("%-44s %-36s %-36s %5s\n", "ms, median [lowest-highest]", "Pelmar document window",
                "bare QsciScintilla", "ratio");
    Figure cpu[2][2];  // [side][place]
    for (Where where : {Where::FirstLine, Where::End}) {
        const bool end = where == Where::End;
        cpu[0][end] = figureOf(pelmar.cpu[end]);
        cpu[1][end] = figureOf(plain.cpu[end]);
        std::printf("%-44s %-36s %-36s %5.2f\n", (QByteArray("CPU per key ") + whereName(where)).constData(),
                    shown(cpu[0][end], 2).constData(), shown(cpu[1][end], 2).constData(),
                    cpu[0][end].median / cpu[1][end].median);
    }
    std::printf("%-44s %-36.2f %-36.2f\n", "first line / end (target <= 2)", cpu[0][0].median / cpu[0][1].median,
                cpu[1][0].median / cpu[1][1].median);
    std::fflush(stdout);

    main.reset();
    CreateDocumentForm = nullptr;
    platform::SetRegistryFolder(QString());
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Large blocks always come fresh from the system and go back to it, so
    // that neither side gains from memory the other just freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--memory")
        return memoryChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    int largest = 1000000;
    int roundsLargest = 5;
    bool keysOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--keys-only")
            keysOnly = true;
        else if (i + 1 < argc && QByteArray(argv[i]) == "--lines")
            largest = QByteArray(argv[i + 1]).toInt();
        else if (i + 1 < argc && QByteArray(argv[i]) == "--rounds")
            roundsLargest = std::max(1, QByteArray(argv[i + 1]).toInt());
    }
    if (keysOnly) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prog%1.nc").arg(largest));
        writeProgram(path, largest);
        keyToPaint(path, std::max(roundsLargest, 60), roundsLargest);
        return 0;
    }

    QTemporaryDir dir;
    QList<int> sizes;
    for (int n = 10000; n <= largest; n *= 10)
        sizes.append(n);
    if (sizes.isEmpty() || sizes.last() != largest)
        sizes.append(largest);
    QMap<int, QString> paths;
    QMap<int, qint64> fileSizes;
    for (int n : sizes) {
        paths[n] = dir.filePath(QStringLiteral("prog%1.nc").arg(n));
        fileSizes[n] = writeProgram(paths[n], n);
    }

    std::printf("open_bench: CodeMax adapter beside a bare QsciScintilla doing the same work\n");
    std::printf("times in ms, median [lowest-highest] of interleaved rounds; ratio of the medians\n\n");
    std::printf("%9s %7s %6s | %-22s %-22s %5s | %-22s %-22s %5s | %-22s %-22s %5s\n", "lines", "MB", "rounds",
                "open", "bare", "ratio", "colour", "bare", "ratio", "replace", "bare", "ratio");
    for (int n : sizes) {
        const QByteArray fileBytes = readAll(paths[n]);
        const QString newText = renumbered(QString::fromUtf8(fileBytes));
        const QByteArray newBytes = newText.toUtf8();
        const int rounds = n <= 10000 ? std::max(roundsLargest, 21) : n <= 100000 ? std::max(roundsLargest, 11)
                                                                                   : roundsLargest;
        Samples s;
        for (int round = 0; round < rounds; ++round)
            measureRound(paths[n], fileBytes, newText, newBytes, round % 2 == 0, round == 0, s);
        const Figure oa = figureOf(s.openA), ob = figureOf(s.openB), ca = figureOf(s.styleA),
                     cb = figureOf(s.styleB), ra = figureOf(s.replaceA), rb = figureOf(s.replaceB);
        std::printf("%9d %7.1f %6d | %-22s %-22s %5.2f | %-22s %-22s %5.2f | %-22s %-22s %5.2f\n", n,
                    double(fileSizes[n]) / 1e6, rounds, shown(oa).constData(), shown(ob).constData(),
                    oa.median / ob.median, shown(ca).constData(), shown(cb).constData(), ca.median / cb.median,
                    shown(ra).constData(), shown(rb).constData(), ra.median / rb.median);
        std::fflush(stdout);
    }

    // Typing at the end of the largest program.
    const QString big = paths[largest];
    Typing typedA, typedB;
    std::vector<double> endA, endB;
    for (int round = 0; round < roundsLargest; ++round) {
        const auto adapterRun = [&] {
            const std::unique_ptr<CodeMax> adapter = makeAdapter();
            typingRun(
                *adapter, *adapter->ActivePane(), [&] { adapter->OpenFile(big); },
                [&] { adapter->ExecuteCmd(platform::CodeMaxCmd::DocumentEnd); }, typedA, endA, "adapter");
        };
        const auto bareRun = [&] {
            Bare bare;
            typingRun(
                bare, bare, [&] { bare.Open(big); }, [&] { bare.SendScintilla(Sci::SCI_DOCUMENTEND); }, typedB, endB,
                "bare");
        };
        if (round % 2 == 0) {
            bareRun();
            malloc_trim(0);
            adapterRun();
        } else {
            adapterRun();
            malloc_trim(0);
            bareRun();
        }
        malloc_trim(0);
    }

    Memory memory;
    const QString self = QCoreApplication::applicationFilePath();
    for (int round = 0; round < roundsLargest; ++round)
        memoryRound(self, big, round % 2 == 0, memory);

    const double fileMb = double(fileSizes[largest]) / (1024.0 * 1024.0);
    const auto perFile = [fileMb](const Figure& f) {
        return QByteArray::number(f.median, 'f', 1) + " MiB = " + QByteArray::number(f.median / fileMb, 'f', 2)
               + " x file [" + QByteArray::number(f.low / fileMb, 'f', 2) + "-"
               + QByteArray::number(f.high / fileMb, 'f', 2) + "]";
    };
    const Figure kA = figureOf(typedA.colouring), kB = figureOf(typedB.colouring);
    const Figure cA = figureOf(typedA.coloured), cB = figureOf(typedB.coloured);
    const Figure eA = figureOf(endA), eB = figureOf(endB);
    const Figure mA = figureOf(memory.addedA), mB = figureOf(memory.addedB);
    const Figure pA = figureOf(memory.peakA), pB = figureOf(memory.peakB);
    std::printf("\n%d lines, %.1f MiB file, %d interleaved rounds (%d keys per phase and round):\n", largest,
                fileMb, roundsLargest, keysPerPhase);
    std::printf("%-44s %-36s %-36s %5s\n", "", "adapter", "bare", "ratio");
    std::printf("%-44s %-36s %-36s %5.2f\n", "go to the end and show it, ms", shown(eA).constData(),
                shown(eB).constData(), eA.median / eB.median);
    std::printf("%-44s %-36s %-36s %5.2f\n", "per key while colouring in idle time, ms", shown(kA, 2).constData(),
                shown(kB, 2).constData(), kA.median / kB.median);
    std::printf("%-44s %-36s %-36s %5.2f\n", "per key once coloured, ms (target < 16)", shown(cA, 2).constData(),
                shown(cB, 2).constData(), cA.median / cB.median);
    std::printf("%-44s %-36s %-36s %5.2f\n", "memory added (open, colour, type)", perFile(mA).constData(),
                perFile(mB).constData(), mA.median / mB.median);
    std::printf("%-44s %-36s %-36s %5.2f\n", "peak memory added", perFile(pA).constData(), perFile(pB).constData(),
                pA.median / pB.median);
    std::printf("(memory: each side in a fresh process per round; target: adapter per byte <= bare)\n");
    keyToPaint(big, std::max(roundsLargest, 60), roundsLargest);
    return 0;
}
