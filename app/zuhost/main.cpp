// zuhost: the container program of ZUEDIT32 (see zuhost/ZuHostScript.h); its
// usage is below. A script takes the files it names from the working folder.
#include "platform/forms/Error.h"
#include "zuhost/ZuHostScript.h"
#include "zuhost/ZuHostWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char* const Usage =
    "usage: zuhost [--script FILE] [--progid PROGID]\n"
    "  (no option)        shows the control with its event log and menus\n"
    "  --script FILE      runs the script headless; exit code 0 when it passed, 1 when a line failed\n"
    "  --progid PROGID    creates another class than the editor control\n";

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Qt has taken its own options out by now; anything else must be ours.
    const QStringList arguments = app.arguments().mid(1);
    QString scriptFile;
    QString progId;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const bool valued = arguments[i] == QLatin1String("--script") || arguments[i] == QLatin1String("--progid");
        if (!valued || i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
            QTextStream(stderr) << "zuhost: " << (valued ? "no value for " : "unknown argument ") << arguments[i]
                                << '\n' << Usage;
            return 2;
        }
        QString& value = arguments[i] == QLatin1String("--script") ? scriptFile : progId;
        value = arguments[++i];
    }
    QTextStream out(stdout);
    ZuHostScript script;
    try {
        script.Create(progId);
    } catch (const platform::Error& e) {
        out << "error " << e.number() << ": " << e.description() << '\n';
        return 2;
    }
    if (!scriptFile.isEmpty()) {
        QFile file(scriptFile);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            out << "cannot read " << scriptFile << '\n';
            return 2;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        return script.Run(lines, out);
    }
    ZuHostWindow window(script);
    window.show();
    return app.exec();
}
