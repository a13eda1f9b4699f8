// zuhost: the container program of ZUEDIT32 (see zuhost/ZuHostScript.h).
//   zuhost                      shows the control with its event log and menus
//   zuhost --script FILE        runs the script headless (files it names are taken from the
//                               working folder); exit code 0 when it passed, 1 when a line failed
//   zuhost --progid PROGID      creates another class than the editor control
#include "platform/forms/Error.h"
#include "zuhost/ZuHostScript.h"
#include "zuhost/ZuHostWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    QString scriptFile;
    QString progId;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--script") && i + 1 < arguments.size())
            scriptFile = arguments[++i];
        else if (arguments[i] == QLatin1String("--progid") && i + 1 < arguments.size())
            progId = arguments[++i];
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
