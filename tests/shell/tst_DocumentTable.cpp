#include "ShellFixture.h"
#include "support/TestRegistry.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Error.h"
#include "shell/MDIMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

// Closes the document window of slot as the user would.
void CloseDocument(int slot)
{
    DocumentForm* window = DocumentWindow(slot);
    QVERIFY(window != nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    QVERIFY(sub != nullptr);
    QVERIFY(sub->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList TaggedCaptions()
{
    QStringList captions;
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
        if (DocumentForm* window = DocumentWindow(slot))
            captions.append(window->Tag + QLatin1Char('=') + window->Caption());
    return captions;
}

}  // namespace

class TestDocumentTable : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ShellFixture> fixture_;
    std::unique_ptr<MDIMain> main_;

private slots:
    void init()
    {
        fixture_ = std::make_unique<ShellFixture>();
        main_ = std::make_unique<MDIMain>();
        main_->show();
        CreateDocumentForm = MakeFakeDocument;
    }
    void cleanup()
    {
        main_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CreateDocumentForm = nullptr;
        QCOMPARE(OpenDocumentCount(), 0);   // windows that went took their slots along
        fixture_.reset();
    }

    void nothingOpenAtStart()
    {
        QVERIFY(!AnyDocumentsOpen());
        QCOMPARE(OpenDocumentCount(), 0);
        QCOMPARE(DocumentSlotCount(), 0);
        QVERIFY(main_->ActiveForm() == nullptr);
        FreeDocumentIndex(1);   // releasing with nothing open changes nothing
        QCOMPARE(OpenDocumentCount(), 0);
    }

    void newDocumentsTakeTheLowestFreeSlot()
    {
        NewDocument();
        NewDocument();
        NewDocument();
        QCOMPARE(TaggedCaptions(), (QStringList{"1=Untitled:1", "2=Untitled:2", "3=Untitled:3"}));
        QCOMPARE(DocumentPaths[2], QStringLiteral("Untitled:3"));
        QCOMPARE(main_->ActiveForm(), DocumentWindow(3));
        QCOMPARE(OpenDocumentCount(), 3);

        CloseDocument(2);
        QCOMPARE(OpenDocumentCount(), 2);
        QVERIFY(DocumentState[2].Free);
        NewDocument();
        QCOMPARE(TaggedCaptions(), (QStringList{"1=Untitled:1", "2=Untitled:2", "3=Untitled:3"}));
        QCOMPARE(main_->ActiveForm(), DocumentWindow(2));
        QCOMPARE(main_->MdiArea()->subWindowList().size(), 3);
    }

    void tableStartsAgainWhenEverythingIsClosed()
    {
        NewDocument();
        NewDocument();
        CloseDocument(1);
        NewDocument();
        QCOMPARE(main_->ActiveForm()->Caption(), QStringLiteral("Untitled:1"));
        CloseDocument(1);
        CloseDocument(2);
        QVERIFY(!AnyDocumentsOpen());
        NewDocument();
        QCOMPARE(DocumentSlotCount(), 1);
        QCOMPARE(TaggedCaptions(), (QStringList{"1=Untitled:1"}));
    }

    void fullTableRefusesAndChangesNothing()
    {
        for (int i = 0; i < MaxDocuments; ++i)
            NewDocument();
        QCOMPARE(OpenDocumentCount(), MaxDocuments);
        DocumentForm* active = main_->ActiveForm();

        platform::ScriptedAnswers answers;
        NewDocument();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QVERIFY(!answers.msgBoxes()[0].prompt.isEmpty());
        QCOMPARE(OpenDocumentCount(), MaxDocuments);
        QCOMPARE(DocumentSlotCount(), MaxDocuments);
        QCOMPARE(main_->MdiArea()->subWindowList().size(), MaxDocuments);
        QCOMPARE(main_->ActiveForm(), active);
        bool refused = false;
        try {
            FindFreeDocumentIndex();
        } catch (const platform::Error&) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(OpenDocumentCount(), MaxDocuments);
    }

    void failedWindowTakesNoSlot()
    {
        CreateDocumentForm = [] { return std::unique_ptr<DocumentForm>(); };
        platform::ScriptedAnswers answers;
        NewDocument();
        NewDocument();
        QCOMPARE(answers.msgBoxes().size(), 2);
        QVERIFY(!AnyDocumentsOpen());
        CreateDocumentForm = MakeFakeDocument;
        NewDocument();
        QCOMPARE(TaggedCaptions(), (QStringList{"1=Untitled:1"}));
    }

    void countStaysWithLiveWindows()
    {
        // A window that goes without releasing its slot must not leave the
        // slot in use; one that released it must not release a new owner.
        NewDocument();
        NewDocument();
        delete DocumentWindow(1)->parentWidget();
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(DocumentState[1].Free);
        NewDocument();
        QCOMPARE(TaggedCaptions(), (QStringList{"1=Untitled:1", "2=Untitled:2"}));
        CloseDocument(2);
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(AnyDocumentsOpen());
    }
};

REGISTER_TEST(TestDocumentTable);
#include "tst_DocumentTable.moc"
