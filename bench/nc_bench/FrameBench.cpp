#include "FrameBench.h"

#include "document/frmNotePad.h"
#include "platform/codemax/CodeMax.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MIni.h"

#include <QAction>
#include <QApplication>

#include <chrono>
#include <memory>

double InsertBlockNumbersFromMenuSeconds(const std::string& file, int runs)
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
        return -1;
    platform::CodeMax& text = *window->Text1();

    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        text.OpenFile(QString::fromStdString(file));
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        window->mnuInsertNumbers->trigger();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best)
            best = took.count();
        if (!text.CanUndo() || !text.GetLine(3).startsWith(QLatin1String("N010")))
            return -1;
    }
    UnloadDocument(*window, vbFormCode, false);
    CreateDocumentForm = nullptr;
    return best;
}
