#pragma once
// Small helpers of the document window's tests: opening a file into a
// window, and checking that the keyboard is back in the document after a
// dialog (its Ctrl+S saves it).

#include "DocumentFixture.h"
#include "shell/FileTestHelpers.h"
#include "platform/shell/Shell.h"
#include "shell/basFileDialogs.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QTest>

namespace document_test {

// The question asked before unsaved changes are lost; the file's name follows it.
const QString SaveQuestion = QStringLiteral("Do you want to save the changes? ");

// Opens a file of the fixture's folder with the given bytes.
inline frmNotePad* OpenFile(DocumentFixture& fixture, const QString& name, const QByteArray& bytes)
{
    if (!WriteFileBytes(fixture.Path(name), bytes) || !OpenFileInWindow(fixture.Path(name), false))
        return nullptr;
    return fixture.Active();
}

// The keyboard is in window's text: Ctrl+S typed where the focus is saves it.
inline bool SaveShortcutReachesTheText(frmNotePad& window)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || !window.Text1()->isAncestorOf(focus))
        return false;
    window.Text1()->AddText(QStringLiteral(" "));
    if (!window.Text1()->Modified())
        return false;
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    return !window.Text1()->Modified();
}

// Records the programs started instead of starting them.
class StartedPrograms {
public:
    explicit StartedPrograms(bool succeed = true)
    {
        previous_ = platform::SetProgramStarter([this, succeed](const QString& program, const QStringList&,
                                                                 const QString&) {
            started.append(program);
            return succeed;
        });
    }
    ~StartedPrograms() { platform::SetProgramStarter(previous_); }
    StartedPrograms(const StartedPrograms&) = delete;
    StartedPrograms& operator=(const StartedPrograms&) = delete;
    QStringList started;

private:
    platform::ProgramStarter previous_;
};

}  // namespace document_test
