#include "FrameBench.h"

#include "document/frmNotePad.h"
#include "nc/frmChangeValue.h"
#include "nc/frmShiftAddress.h"
#include "nc/frmSwitchXYZ.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MIni.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

namespace {

// Answers the command's dialog as a user would: the end-of-block text, X and Y exchanged,
// "X1" changed to "X2", X shifted by 1.5 and Z by -0.25.
void Answer(platform::ScriptedAnswers& answers, const QString& item)
{
    if (item == QLatin1String("mnuEndOFBlocks"))
        answers.answerInputBox(QStringLiteral(";"));
    if (item == QLatin1String("mnuSwitch"))
        answers.scriptModal([](QDialog& dialog) {
            auto& form = static_cast<frmSwitchXYZ&>(dialog);
            form.optX[1]->click();
            form.optY[0]->click();
            form.cmdSwitch[0]->click();
        });
    if (item == QLatin1String("mnuChangeMain"))
        answers.scriptModal([](QDialog& dialog) {
            auto& form = static_cast<frmChangeValue&>(dialog);
            form.txtFind->setText(QStringLiteral("X1"));
            form.txtChange->setText(QStringLiteral("X2"));
            form.cmdChange[0]->click();
        });
    if (item == QLatin1String("mnuShiftAddress"))
        answers.scriptModal([](QDialog& dialog) {
            auto& form = static_cast<frmShiftAddress&>(dialog);
            form.txtVX->setText(QStringLiteral("1.5"));
            form.txtVZ->setText(QStringLiteral("-0.25"));
            form.cmdBut[0]->click();
        });
}

}  // namespace

std::vector<MenuCommandTime> MenuCommandTimes(const BenchPrograms& programs, int runs)
{
    // Never on the user's desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "nc_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    NumPopup = 0;
    CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
    MDIMain main;
    main.show();
    NewDocument();
    auto* window = qobject_cast<frmNotePad*>(ActiveDocumentForm());
    if (window == nullptr)
        return {};
    platform::CodeMax& text = *window->Text1();

    const char* const items[] = {"mnuInsertNumbers", "mnuRemoveBlockNumbers", "RemoveZeros",     "mnuSpaceInsert",
                                 "mnuSpaceRemove",   "mnuRemoveBlankLines",   "mnuG91",          "mnuG90",
                                 "mnuBlockSkips",    "mnuComment",            "mnuEndOFBlocks",  "mnuDelBlockSkips",
                                 "mnuDelComments",   "mnuDelEndBlocks",       "mnuSwitch",       "mnuChangeMain",
                                 "mnuShiftAddress",  "mnuSyntax"};
    std::vector<MenuCommandTime> times;
    for (const char* item : items) {
        QAction* action = window->findChild<QAction*>(QLatin1String(item));
        if (action == nullptr)
            continue;
        MenuCommandTime time;
        time.item = action->text().remove(QLatin1Char('&')).toStdString();
        time.worked = true;
        std::vector<double> seconds;
        for (int i = 0; i < runs; ++i) {
            const std::string name = item;
            const std::string& file = name == "mnuG90"                ? programs.withG91
                                      : name == "mnuSpaceInsert"      ? programs.packed
                                      : name == "RemoveZeros" || name == "mnuDelBlockSkips" ||
                                              name == "mnuDelEndBlocks"
                                          ? programs.marked
                                          : programs.plain;
            text.OpenFile(QString::fromStdString(file));
            QApplication::processEvents();
            platform::ScriptedAnswers answers;
            Answer(answers, QString::fromLatin1(item));
            const auto start = std::chrono::steady_clock::now();
            action->trigger();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            seconds.push_back(took.count());
            // Every command changes this program, but the check, which reports it clean.
            const bool reported = answers.msgBoxes().size() == 1 &&
                                  answers.msgBoxes()[0].prompt == QLatin1String("No syntax errors found.");
            const bool worked = item == std::string("mnuSyntax") ? reported
                                                                 : text.CanUndo() && answers.msgBoxes().empty();
            time.worked = time.worked && worked;
        }
        std::sort(seconds.begin(), seconds.end());
        time.median = seconds[seconds.size() / 2];
        time.slowest = seconds.back();
        times.push_back(time);
    }
    UnloadDocument(*window, vbFormCode, false);
    CreateDocumentForm = nullptr;
    return times;
}
