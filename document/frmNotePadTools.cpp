// The document window's reference texts and tool launchers (Accessories,
// File > Prentil, Help): the G-code, M-code and word references beside the
// program, the desktop's calculator, the scientific calculator, the
// clipboard viewer, the expression evaluator, the metric/imperial
// conversion window, the help and the tip of the day. None of them touches the document's text.

#include "document/frmNotePad.h"

#include "document/TextFiles.h"
#include "document/frmReference.h"
#include "document/MenuItems.h"
#include "platform/com/CallByName.h"
#include "platform/com/CreateObject.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ShowModal.h"
#include "platform/shell/Shell.h"
#include "shell/GShell.h"
#include "shell/MCompanions.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/frmHelp.h"

#include <QAction>
#include <QMenu>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QStandardPaths>

namespace {

const QString Title = QStringLiteral("Talvex Editor");

// The outside expression evaluator's class.
const QString ExpressionEvaluatorClass = QStringLiteral("{24AC0780-A2BE-4DE0-B808-0FD4CBB65886}");

// The conversion library's class, and the library beside the program that serves it.
const QString MetricClass = QStringLiteral("{E8214FF1-7EA0-4568-9E86-AE28FBFFE6EC}");
const QString MetricLibrary = QStringLiteral("KroMetric.so");

// Starts a program through the shell; false (with ShellError set) when it could not be started.
bool Launch(const QString& program)
{
    return ShellExecuteFile(program, platform::SW_SHOWNORMAL, {}, QString(), QStringLiteral("open"),
                            MDIMain::Instance());
}

// The first method of an object's own interface (not those of QObject).
QMetaMethod FirstMethod(const QObject& object)
{
    const QMetaObject* meta = object.metaObject();
    for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Method && method.access() == QMetaMethod::Public
            && method.parameterCount() == 0)
            return method;
    }
    return QMetaMethod();
}

}  // namespace

QString DesktopCalculator()
{
    const QString chosen = qEnvironmentVariable("TALVEX_CALCULATOR");
    if (!chosen.isEmpty())
        return chosen;
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

void frmNotePad::BuildToolMenus()
{
    mnuAccessories->addSeparator();
    mnuGCode = AddMenuItem(mnuAccessories, "mnuGCode", QStringLiteral("G-Code Reference"));
    mnuMCode = AddMenuItem(mnuAccessories, "mnuMCode", QStringLiteral("M-Code Reference"));
    mnuWordRef = AddMenuItem(mnuAccessories, "mnuWordRef", QStringLiteral("CNC Word Reference"));
    mnuAccessories->addSeparator();
    mnuCal = AddMenuItem(mnuAccessories, "mnuCal", QStringLiteral("&Windows Calculator"));
    mnuKroCalc = AddMenuItem(mnuAccessories, "mnuKroCalc", QStringLiteral("&Scientific Calculator"));
    mnuTrig = AddMenuItem(mnuAccessories, "mnuTrig", QStringLiteral("&Trigonomic Functions"));
    mnuExpress = AddMenuItem(mnuAccessories, "mnuExpress", QStringLiteral("&Expression Evaluator"));
    mnuCalenda = AddMenuItem(mnuAccessories, "mnuCalenda", QStringLiteral("Calendar"));
    mnuMetric = AddMenuItem(mnuAccessories, "mnuMetric", QStringLiteral("&Metric/Imperial Convertor"));
    mnuAccessories->addSeparator();
    mnuClipBrd = AddMenuItem(mnuAccessories, "mnuClipBrd", QStringLiteral("Clip &Board Viewer"));

    mnuPrintPrev = new QAction(QStringLiteral("Prentil..."), mnuFile);
    mnuPrintPrev->setObjectName(QStringLiteral("mnuPrintPrev"));
    mnuFile->insertAction(mnuFilePrint, mnuPrintPrev);

    const QString captions[] = {QStringLiteral("Talvex &Editor Help Topics..."), QStringLiteral("&About Quillet..."),
                                QString(), QStringLiteral("&Show tip of the day...")};
    for (int i = 0; i < static_cast<int>(mnuHelpItems.size()); ++i) {
        QAction* item = captions[i].isEmpty() ? mnuHelp->addSeparator() : mnuHelp->addAction(captions[i]);
        item->setObjectName(QStringLiteral("mnuHelp%1").arg(i));
        // "&About Quillet..." has nothing to show: no command.
        if (!item->isSeparator() && i != 1)
            connect(item, &QAction::triggered, this, [this, i] { mnuHelp_Click(i); });
        mnuHelpItems[static_cast<size_t>(i)] = item;
    }
    mnuHelpItems[0]->setShortcut(QKeySequence::HelpContents);

    const std::pair<QAction*, void (frmNotePad::*)()> items[] = {
        {mnuGCode, &frmNotePad::mnuGCode_Click},
        {mnuMCode, &frmNotePad::mnuMCode_Click},
        {mnuWordRef, &frmNotePad::mnuWordRef_Click},
        {mnuCal, &frmNotePad::mnuCal_Click},
        {mnuKroCalc, &frmNotePad::mnuKroCalc_Click},
        {mnuExpress, &frmNotePad::mnuExpress_Click},
        {mnuMetric, &frmNotePad::mnuMetric_Click},
        {mnuClipBrd, &frmNotePad::mnuClipBrd_Click},
        {mnuPrintPrev, &frmNotePad::mnuPrintPrev_Click},
    };
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
}

void frmNotePad::ShowReferenceText(const QString& file, const QString& caption, const QString& failure)
{
    QString text;
    if (!ReadTextFile(platform::ProgramFile(file), text)) {
        platform::MsgBox(failure, platform::vbCritical, Title);
        return;
    }
    frmReference viewer(MDIMain::Instance());
    viewer.setWindowTitle(caption);
    viewer.txtRef->setPlainText(text);
    platform::ShowModal(viewer);
}

void frmNotePad::mnuGCode_Click()
{
    ShowReferenceText(QStringLiteral("\\gref.txt"), QStringLiteral("G-Code Reference"),
                      QStringLiteral("Error opening G-Code reference file"));
}

void frmNotePad::mnuMCode_Click()
{
    ShowReferenceText(QStringLiteral("\\mref.txt"), QStringLiteral("M-Code Reference"),
                      QStringLiteral("Error opening M-Code reference file"));
}

void frmNotePad::mnuWordRef_Click()
{
    ShowReferenceText(QStringLiteral("\\wordref.txt"), QStringLiteral("Word Reference"),
                      QStringLiteral("Error opening Word reference file"));
}

void frmNotePad::mnuCal_Click()
{
    const QString calculator = DesktopCalculator();
    if (calculator.isEmpty() || !Launch(calculator))
        platform::MsgBox(QStringLiteral("Failed to open Windows Calculator"), platform::vbInformation, Title);
}

void frmNotePad::mnuKroCalc_Click()
{
    if (!Launch(platform::ProgramFile(QStringLiteral("/Numtra.exe"))))
        platform::MsgBox(QStringLiteral("Failed to open Scientic Calculator"), platform::vbInformation, Title);
}

void frmNotePad::mnuPrintPrev_Click()
{
    if (MDIMain* main = MDIMain::Instance())
        main->mnuCorvanePrint_Click();
}

void frmNotePad::mnuClipBrd_Click()
{
    // The clipboard's viewer here is the clipboard extender's window.
    if (ShowClipExtenderHook)
        ShowClipExtenderHook();
    else
        platform::MsgBox(QStringLiteral("The Clipboard Viewer was not found!"), platform::vbCritical, Title);
}

void frmNotePad::mnuExpress_Click()
{
    std::unique_ptr<QObject> evaluator;
    try {
        evaluator = platform::CreateObject(ExpressionEvaluatorClass);
    } catch (...) {
    }
    const QMetaMethod method = evaluator ? FirstMethod(*evaluator) : QMetaMethod();
    if (!method.isValid()) {
        platform::MsgBox(QStringLiteral("The Expression Evaluator is not available."), platform::vbInformation,
                         Title);
        return;
    }
    try {
        method.invoke(evaluator.get(), Qt::DirectConnection);
    } catch (...) {
    }
}

void frmNotePad::mnuMetric_Click()
{
    try {
        // The object goes when the command ends; the window it showed stays open.
        const std::unique_ptr<QObject> metric = CreateCompanionObject(MetricClass, MetricLibrary);
        platform::CallByName(metric.get(), QStringLiteral("ShowMetric"), platform::VbMethod);
    } catch (...) {
        // A convenience window: when it cannot be had, the command does nothing.
    }
}

void frmNotePad::mnuHelp_Click(int index)
{
    if (index == 0) {
        ShowHelpTopics();
    } else if (index == 3) {
        if (MDIMain* main = MDIMain::Instance())
            main->mnuShowTip_Click();
    }
}
