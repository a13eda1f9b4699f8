// The in-process class layer: class registry, creation by ProgID, the
// registration tool, and calls by name.
#include "platform/com/CallByName.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ComErrors.h"
#include "platform/com/ComServer.h"
#include "platform/com/CreateObject.h"
#include "platform/com/LibraryFileCheck.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/Error.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/registry/Registry.h"
#include "support/LibraryCuts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <elf.h>
#include <functional>
#include <link.h>
#include <memory>

using namespace platform;

namespace {

// The error number a call raises; 0 when it raises nothing.
int ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

bool CopyFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile::remove(to);
    return QFile::copy(from, to);
}

// Damage done to the headers of a whole library.
enum class HeaderDamage { WordSize, ByteOrder, Executable, TablePastTheEnd, TableBeyondAnySize, EntrySize, SegmentPastTheEnd };

void Damage(QByteArray& bytes, HeaderDamage damage)
{
    using FileHeader = ElfW(Ehdr);
    using ProgramHeader = ElfW(Phdr);
    FileHeader header{};
    std::memcpy(&header, bytes.constData(), sizeof header);
    switch (damage) {
    case HeaderDamage::WordSize:
        header.e_ident[EI_CLASS] = sizeof(void*) == 8 ? ELFCLASS32 : ELFCLASS64;
        break;
    case HeaderDamage::ByteOrder:
        header.e_ident[EI_DATA] = header.e_ident[EI_DATA] == ELFDATA2LSB ? ELFDATA2MSB : ELFDATA2LSB;
        break;
    case HeaderDamage::Executable:
        header.e_type = ET_EXEC;
        break;
    case HeaderDamage::TablePastTheEnd:
        header.e_phoff = decltype(header.e_phoff)(bytes.size());
        break;
    case HeaderDamage::TableBeyondAnySize:
        header.e_phoff = ~decltype(header.e_phoff)(0) - 8;
        break;
    case HeaderDamage::EntrySize:
        header.e_phentsize = sizeof(ProgramHeader) / 2;
        break;
    case HeaderDamage::SegmentPastTheEnd:
        for (int i = 0; i < header.e_phnum; ++i) {
            ProgramHeader segment{};
            char* at = bytes.data() + header.e_phoff + qsizetype(i) * header.e_phentsize;
            std::memcpy(&segment, at, sizeof segment);
            if (segment.p_type == PT_LOAD) {
                segment.p_filesz += decltype(segment.p_filesz)(bytes.size());
                segment.p_memsz += decltype(segment.p_memsz)(bytes.size());
                std::memcpy(at, &segment, sizeof segment);
                break;
            }
        }
        break;
    }
    std::memcpy(bytes.data(), &header, sizeof header);
}

}  // namespace

Q_DECLARE_METATYPE(HeaderDamage)

class ComTest : public QObject {
    Q_OBJECT

private:
    QString PluginFolder() const { return m_dir->filePath(QStringLiteral("program/Plugins")); }
    QString Fixture() const { return PluginFolder() + QStringLiteral("/ComFixture.so"); }
    QString RegFault() const { return PluginFolder() + QStringLiteral("/RegFault.so"); }
    QString NoExports() const { return PluginFolder() + QStringLiteral("/NoExports.so"); }
    std::unique_ptr<QObject> NewFixture()
    {
        if (!RegisterClass(QStringLiteral("Fixture.Main"), QStringLiteral("Fixture"), Fixture()))
            return nullptr;
        return CreateObject(QStringLiteral("Fixture.Main"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;

    // The file is refused with the fault, by the creation of its class and by
    // the tool, which names the file and the fault.
    void RefusedWith(const QString& library, const QString& fault)
    {
        const QString found = LibraryFileFault(library);
        QVERIFY2(found.startsWith(fault), qPrintable(found));
        QVERIFY(RegisterClass(QStringLiteral("Cut.Main"), QStringLiteral("Fixture"), library));
        QCOMPARE(ErrorOf([] { CreateObject(QStringLiteral("Cut.Main")); }), int(ErrCannotCreateObject));

        ScriptedAnswers answers;
        QCOMPARE(RegsvrMain({library}), RegsvrFailLoad);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("Loading the library \"%1\" failed: %2").arg(library, found));
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, vbCritical);
    }

private slots:
    // Each test has its own program folder (with the tool and the fixture
    // libraries in Plugins) and its own registry.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const QString program = m_dir->filePath(QStringLiteral("program"));
        const QString registry = m_dir->filePath(QStringLiteral("registry"));
        QVERIFY(QDir().mkpath(registry));
        qputenv("TALVEX_PROGRAM_DIR", program.toLocal8Bit());
        qputenv("TALVEX_REGISTRY_DIR", registry.toLocal8Bit());
        SetRegistryFolder(registry);
        QVERIFY(CopyFile(QStringLiteral(REGSVR_PATH), program + QStringLiteral("/regsvr")));
        QVERIFY(QFile::setPermissions(program + QStringLiteral("/regsvr"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(CopyFile(QStringLiteral(COM_FIXTURE_PATH), Fixture()));
        QVERIFY(CopyFile(QStringLiteral(REGFAULT_PATH), RegFault()));
        QVERIFY(CopyFile(QStringLiteral(NOEXPORTS_PATH), NoExports()));
    }

    void cleanup()
    {
        qunsetenv("TALVEX_FIXTURE_PAUSE_MS");
        m_dir.reset();
    }

    // ---- class registry and creation

    void registeredClassIsCreatedByProgIdInAnyCase_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::newRow("as registered") << "Fixture.Main";
        QTest::newRow("lower case") << "fixture.main";
        QTest::newRow("upper case") << "FIXTURE.MAIN";
    }
    void registeredClassIsCreatedByProgIdInAnyCase()
    {
        QFETCH(QString, progId);
        const ProgramResult run = RegisterLibrary(Fixture(), 30000);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(run.exitCode, RegsvrSuccess);
        const std::unique_ptr<QObject> object = CreateObject(progId, PluginFolder());
        QVERIFY(object);
        QCOMPARE(object->metaObject()->className(), "Fixture");
    }

    void registrationIsKeptAsTheClassRegistryHasIt()
    {
        QVERIFY(RegisterClass(QStringLiteral("Fixture.Main"), QStringLiteral("Fixture"), Fixture()));
        const QString classId = ClassIdOf(QStringLiteral("fixture.MAIN"));
        QCOMPARE(classId, ClassIdOf(QStringLiteral("Fixture.Main")));
        HKEY key = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("Fixture.Main\\CLSID"), &key), ERROR_SUCCESS);
        QByteArray data;
        QCOMPARE(RegQueryValueEx(key, QString(), nullptr, &data), ERROR_SUCCESS);
        RegCloseKey(key);
        QCOMPARE(RegStringFromData(data), classId);
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\%1\\InprocServer32").arg(classId), &key),
                 ERROR_SUCCESS);
        QCOMPARE(RegQueryValueEx(key, QString(), nullptr, &data), ERROR_SUCCESS);
        RegCloseKey(key);
        QCOMPARE(RegStringFromData(data), QFileInfo(Fixture()).canonicalFilePath());

        const std::optional<ClassEntry> entry = LookupClass(QStringLiteral("FIXTURE.main"));
        QVERIFY(entry);
        QCOMPARE(entry->progId, QStringLiteral("Fixture.Main"));
        QCOMPARE(entry->className, QStringLiteral("Fixture"));

        // A registry written before the class's name was kept beside the key's own value
        // (which a control now sets to its type name) still gives the class.
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\%1").arg(classId), &key), ERROR_SUCCESS);
        QCOMPARE(RegDeleteValue(key, QStringLiteral("ClassName")), ERROR_SUCCESS);
        RegCloseKey(key);
        QCOMPARE(LookupClass(QStringLiteral("Fixture.Main"))->className, QStringLiteral("Fixture"));
    }

    void registeringAgainMovesTheClass()
    {
        const QString other = m_dir->filePath(QStringLiteral("elsewhere/ComFixture.so"));
        QVERIFY(CopyFile(Fixture(), other));
        QVERIFY(RegisterClass(QStringLiteral("Fixture.Main"), QStringLiteral("Fixture"), other));
        QVERIFY(RegisterClass(QStringLiteral("FIXTURE.MAIN"), QStringLiteral("Fixture"), Fixture()));
        QCOMPARE(LookupClass(QStringLiteral("Fixture.Main"))->progId, QStringLiteral("FIXTURE.MAIN"));
        // Removing the stale copy's registration keeps the one in force.
        QVERIFY(UnregisterClass(QStringLiteral("Fixture.Main"), other));
        QCOMPARE(LookupClass(QStringLiteral("Fixture.Main"))->libraryPath, QFileInfo(Fixture()).canonicalFilePath());
        QVERIFY(UnregisterClass(QStringLiteral("Fixture.Main"), Fixture()));
        QVERIFY(!LookupClass(QStringLiteral("Fixture.Main")));
    }

    // A control's entries and its type library are written with its class, found by its
    // class id, and removed with it; other classes stay.
    void controlsAndTypeLibrariesAreRegistered()
    {
        QVERIFY(RegisterClass(QStringLiteral("Fixture.Main"), QStringLiteral("Fixture"), Fixture()));
        static const ComControlInfo control{"Fixture Control", 0x20191, 1, true, "{11111111-2222-3333-4444-555555555555}", "1.0"};
        static const ComClass classes[] = {
            {"Fixture.Ctrl.1", "Fixture", [](QObject*) -> QObject* { return nullptr; },
             "{aaaaaaaa-2222-3333-4444-555555555555}", &control},
        };
        static const ComInterfaceInfo interfaces[] = {{"{11111111-2222-3333-4444-666666666666}", "_DFixture", "Dispatch"}};
        static const ComTypeLibrary library{"{11111111-2222-3333-4444-555555555555}", "1.0", 1033, "FixtureLib",
                                            "Fixture Control", "FIXTURE.HLP", interfaces,
                                            []() { return QStringLiteral("members\nof the fixture"); }};
        QCOMPARE(RegisterServer(classes, Fixture(), &library), S_OK);

        const std::optional<ClassEntry> byId = LookupClassById(QStringLiteral("{AAAAAAAA-2222-3333-4444-555555555555}"));
        QVERIFY(byId);
        QCOMPARE(byId->progId, QStringLiteral("Fixture.Ctrl.1"));
        QCOMPARE(LookupClass(QStringLiteral("fixture.ctrl.1"))->classId, byId->classId);
        const std::optional<ControlEntry> entry = LookupControl(byId->classId);
        QVERIFY(entry);
        QCOMPARE(entry->typeName, QStringLiteral("Fixture Control"));
        QCOMPARE(entry->miscStatus, 0x20191u);
        QCOMPARE(entry->toolboxBitmap, 1);
        QVERIFY(entry->insertable);
        QCOMPARE(entry->typeLibId, QStringLiteral("{11111111-2222-3333-4444-555555555555}"));
        QCOMPARE(entry->typeLibVersion, QStringLiteral("1.0"));
        QVERIFY(!LookupControl(LookupClass(QStringLiteral("Fixture.Main"))->classId));

        const std::optional<TypeLibraryEntry> typeLib = LookupTypeLibrary(QString::fromUtf8(library.libId), QStringLiteral("1.0"));
        QVERIFY(typeLib);
        QCOMPARE(typeLib->helpString, QStringLiteral("Fixture Control"));
        QCOMPARE(typeLib->name, QStringLiteral("FixtureLib"));
        QCOMPARE(typeLib->helpFile, QStringLiteral("FIXTURE.HLP"));
        QCOMPARE(typeLib->locale, 1033);
        QCOMPARE(typeLib->libraryPath, QFileInfo(Fixture()).canonicalFilePath());
        QCOMPARE(typeLib->description, QStringLiteral("members\nof the fixture"));
        HKEY key = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("Interface\\{11111111-2222-3333-4444-666666666666}\\TypeLib"), &key),
                 ERROR_SUCCESS);
        RegCloseKey(key);

        QCOMPARE(UnregisterServer(classes, Fixture(), &library), S_OK);
        QVERIFY(!LookupClassById(byId->classId));
        QVERIFY(!LookupTypeLibrary(QString::fromUtf8(library.libId), QStringLiteral("1.0")));
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("TypeLib\\{11111111-2222-3333-4444-555555555555}"), &key),
                 ERROR_FILE_NOT_FOUND);
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("Interface\\{11111111-2222-3333-4444-666666666666}"), &key),
                 ERROR_FILE_NOT_FOUND);
        QVERIFY(LookupClass(QStringLiteral("Fixture.Main")));
    }

    // A registry that cannot be written fails the type library step first, then the class step.
    void registrationFailuresNameTheirStep()
    {
        static const ComClass classes[] = {{"Fixture.Ctrl.1", "Fixture", [](QObject*) -> QObject* { return nullptr; }}};
        static const ComTypeLibrary library{"{11111111-2222-3333-4444-555555555555}", "1.0", 0, "FixtureLib",
                                            "Fixture Control", "", {}, nullptr};
        QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SetRegistryFolder(blocker.fileName() + QStringLiteral("/registry"));
        QCOMPARE(RegisterServer(classes, Fixture(), &library), SELFREG_E_TYPELIB);
        QCOMPARE(RegisterServer(classes, Fixture()), SELFREG_E_CLASS);
        SetRegistryFolder(m_dir->filePath(QStringLiteral("registry")));
    }

    void invalidProgIdsAreRefused_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::newRow("empty") << "";
        QTest::newRow("backslash") << "Stats\\Main";
        QTest::newRow("slash") << "Stats/Main";
        QTest::newRow("blank around") << " Stats.Main";
        QTest::newRow("40 characters") << QString(35, u'a') + QStringLiteral(".Main");
    }
    void invalidProgIdsAreRefused()
    {
        QFETCH(QString, progId);
        QVERIFY(!RegisterClass(progId, QStringLiteral("Fixture"), Fixture()));
        QCOMPARE(ErrorOf([&] { CreateObject(progId); }), ErrCannotCreateObject);
    }

    void uncreatableClassesRaise429_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("library");   // "" registers nothing
        QTest::addColumn<bool>("inPluginFolder");
        QTest::newRow("not registered") << "Nobody.Main" << "" << "" << false;
        QTest::newRow("library gone") << "Gone.Main" << "Fixture" << "program/Plugins/Gone.so" << false;
        QTest::newRow("not a library") << "Text.Main" << "Main" << "program/Plugins/Text.so" << false;
        QTest::newRow("library without classes") << "NoExports.Main" << "Main" << "program/Plugins/NoExports.so" << false;
        QTest::newRow("library without factory") << "RegFault.Main" << "Main" << "program/Plugins/RegFault.so" << false;
        QTest::newRow("class the factory lacks") << "Ghost.Main" << "Ghost" << "program/Plugins/ComFixture.so" << false;
        QTest::newRow("factory makes nothing") << "Fixture.Broken" << "Broken" << "program/Plugins/ComFixture.so" << false;
        QTest::newRow("library outside the folder") << "Fixture.Main" << "Fixture" << "elsewhere/ComFixture.so" << true;
    }
    void uncreatableClassesRaise429()
    {
        QFETCH(QString, progId);
        QFETCH(QString, className);
        QFETCH(QString, library);
        QFETCH(bool, inPluginFolder);
        QFile text(m_dir->filePath(QStringLiteral("program/Plugins/Text.so")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a library\n");
        text.close();
        QVERIFY(CopyFile(Fixture(), m_dir->filePath(QStringLiteral("elsewhere/ComFixture.so"))));
        if (!library.isEmpty())
            QVERIFY(RegisterClass(progId, className, m_dir->filePath(library)));

        try {
            CreateObject(progId, inPluginFolder ? PluginFolder() : QString());
            QFAIL("no error raised");
        } catch (const Error& e) {
            QCOMPARE(e.number(), ErrCannotCreateObject);
            QCOMPARE(e.description(), QStringLiteral("ActiveX component can't create object"));
        }
    }

    // ---- library files that cannot be whole

    // A copy broken off anywhere the loader would read or map is refused
    // before it is loaded (loaded, it ends the process with a bus error).
    void cutLibrariesAreNotLoaded_data()
    {
        QTest::addColumn<LibraryCut>("cut");
        QTest::addColumn<QString>("fault");
        const QString cutShort = QStringLiteral("The file is cut short: it holds ");
        const QString noElf = QStringLiteral("The file is not a library: it has no ELF header.");
        QTest::newRow("no byte") << LibraryCut::Empty << noElf;
        QTest::newRow("in the ELF header") << LibraryCut::InFileHeader << cutShort;
        QTest::newRow("in the segment table") << LibraryCut::InProgramHeaders << cutShort;
        QTest::newRow("in the code") << LibraryCut::InCodeSegment << cutShort;
        QTest::newRow("in the data") << LibraryCut::InDataSegment << cutShort;
        QTest::newRow("in the section table") << LibraryCut::InSectionHeaders << cutShort;
        QTest::newRow("noise") << LibraryCut::Noise << noElf;
    }
    void cutLibrariesAreNotLoaded()
    {
        QFETCH(LibraryCut, cut);
        QFETCH(QString, fault);
        const QString library = PluginFolder() + QStringLiteral("/Cut.so");
        QVERIFY(WriteCutLibrary(QStringLiteral(COM_FIXTURE_PATH), library, cut));
        RefusedWith(library, fault);
    }

    void damagedHeadersAreRefused_data()
    {
        QTest::addColumn<HeaderDamage>("damage");
        QTest::addColumn<QString>("fault");
        const QString otherMachine = QStringLiteral("The file is not a library for this machine.");
        const QString damaged = QStringLiteral("The file's ELF headers are damaged.");
        const QString cutShort = QStringLiteral("The file is cut short: it holds ");
        QTest::newRow("other word size") << HeaderDamage::WordSize << otherMachine;
        QTest::newRow("other byte order") << HeaderDamage::ByteOrder << otherMachine;
        QTest::newRow("a program") << HeaderDamage::Executable << QStringLiteral("The file is not a shared library.");
        QTest::newRow("segment table past the end") << HeaderDamage::TablePastTheEnd << cutShort;
        QTest::newRow("segment table beyond any size") << HeaderDamage::TableBeyondAnySize << damaged;
        QTest::newRow("segment entries of another size") << HeaderDamage::EntrySize << damaged;
        QTest::newRow("segment past the end") << HeaderDamage::SegmentPastTheEnd << cutShort;
    }
    void damagedHeadersAreRefused()
    {
        QFETCH(HeaderDamage, damage);
        QFETCH(QString, fault);
        QFile whole(Fixture());
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QByteArray bytes = whole.readAll();
        Damage(bytes, damage);
        const QString library = PluginFolder() + QStringLiteral("/Damaged.so");
        QFile file(library);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();
        RefusedWith(library, fault);
    }

    // ---- the registration tool

    void toolExitCodesAreTheWindowsOnes_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("registered") << "program/Plugins/ComFixture.so" << RegsvrSuccess;
        QTest::newRow("no such file") << "program/Plugins/Missing.so" << RegsvrFailLoad;
        QTest::newRow("no registration export") << "program/Plugins/NoExports.so" << RegsvrFailEntry;
        QTest::newRow("registration fails") << "program/Plugins/RegFault.so" << RegsvrFailReg;
    }
    void toolExitCodesAreTheWindowsOnes()
    {
        QFETCH(QString, library);
        QFETCH(int, exitCode);
        const ProgramResult run = RegisterLibrary(m_dir->filePath(library), 30000);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(bool(LookupClass(QStringLiteral("Fixture.Main"))), exitCode == RegsvrSuccess);
    }

    void toolWithoutLibraryFailsWithArgumentsCode()
    {
        const ProgramResult run = RunProgram(RegistrationToolPath(), {QStringLiteral("/s")}, 30000);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, RegsvrFailArgs);
    }

    // A switch the tool does not know is a bad command line, as no library
    // at all is: nothing is registered and the exit code says so. A path at
    // the root of the file system is still a path.
    void unknownSwitchIsABadCommandLine_data()
    {
        QTest::addColumn<QStringList>("before");   // arguments before the library, after "/s"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("registered");
        QTest::newRow("slash letter") << QStringList{"/x"} << RegsvrFailArgs << false;
        QTest::newRow("slash word") << QStringList{"/quiet"} << RegsvrFailArgs << false;
        QTest::newRow("slash switch with a value") << QStringList{"/i:cmdline"} << RegsvrFailArgs << false;
        QTest::newRow("dash letter") << QStringList{"-v"} << RegsvrFailArgs << false;
        QTest::newRow("double dash word") << QStringList{"--help"} << RegsvrFailArgs << false;
        QTest::newRow("known switches only") << QStringList{"/S", "-s"} << RegsvrSuccess << true;
        QTest::newRow("root-level library path") << QStringList{"/NoSuchLibrary.so"} << RegsvrFailLoad << true;
    }
    void unknownSwitchIsABadCommandLine()
    {
        QFETCH(QStringList, before);
        QFETCH(int, exitCode);
        QFETCH(bool, registered);
        const ProgramResult run
            = RunProgram(RegistrationToolPath(), QStringList{"/s"} + before + QStringList{Fixture()}, 30000);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(bool(LookupClass(QStringLiteral("Fixture.Main"))), registered);
    }

    void unknownSwitchIsNamedUnlessSilent()
    {
        ScriptedAnswers answers;
        QCOMPARE(RegsvrMain({QStringLiteral("/x"), Fixture()}), RegsvrFailArgs);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(answers.msgBoxes()[0].prompt.startsWith(QStringLiteral("Unrecognized switch: /x\n")));
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, vbExclamation);
        // "/s" silences it wherever it stands.
        QCOMPARE(RegsvrMain({QStringLiteral("/x"), Fixture(), QStringLiteral("/s")}), RegsvrFailArgs);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(!LookupClass(QStringLiteral("Fixture.Main")));
    }

    void toolUnregisters()
    {
        QCOMPARE(RegisterLibrary(Fixture(), 30000).exitCode, RegsvrSuccess);
        QVERIFY(CreateObject(QStringLiteral("Fixture.Main")));
        QCOMPARE(RegisterLibrary(Fixture(), 30000, true).exitCode, RegsvrSuccess);
        QCOMPARE(ErrorOf([] { CreateObject(QStringLiteral("Fixture.Main")); }), ErrCannotCreateObject);
    }

    // The path is one argument, blanks and shell characters included.
    void libraryPathReachesToolWhole()
    {
        const QString odd = m_dir->filePath(QStringLiteral("my plugins/a;b $(x) 'q'.so"));
        QVERIFY(CopyFile(Fixture(), odd));
        const ProgramResult run = RegisterLibrary(odd, 30000);
        QCOMPARE(run.exitCode, RegsvrSuccess);
        QCOMPARE(LookupClass(QStringLiteral("Fixture.Main"))->libraryPath, QFileInfo(odd).canonicalFilePath());
        QCOMPARE(RegistrationCommand(odd), QStringLiteral("regsvr /s ") + odd);
    }

    void slowRegistrationIsStoppedAtTheTimeLimit()
    {
        qputenv("TALVEX_FIXTURE_PAUSE_MS", "20000");
        QElapsedTimer clock;
        clock.start();
        const ProgramResult run = RegisterLibrary(RegFault(), 500);
        QVERIFY(run.started);
        QVERIFY(run.timedOut);
        QVERIFY(!run.finished);
        QVERIFY(clock.elapsed() < 10000);
    }

    void toolMessagesOnlyWhenNotSilent()
    {
        ScriptedAnswers answers;
        QCOMPARE(RegsvrMain({QStringLiteral("/S"), m_dir->filePath(QStringLiteral("Missing.so"))}), RegsvrFailLoad);
        QCOMPARE(RegsvrMain({QStringLiteral("-s")}), RegsvrFailArgs);
        QCOMPARE(answers.msgBoxes().size(), 0);

        QCOMPARE(RegsvrMain({m_dir->filePath(QStringLiteral("Missing.so"))}), RegsvrFailLoad);
        QCOMPARE(RegsvrMain({Fixture()}), RegsvrSuccess);
        QCOMPARE(answers.msgBoxes().size(), 2);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QStringLiteral("Missing.so")));
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, vbCritical);
        QCOMPARE(answers.msgBoxes()[1].style & 0x70, vbInformation);
        // The first failure decides the exit code; the other libraries are still done.
        QCOMPARE(RegsvrMain({QStringLiteral("/s"), NoExports(), Fixture()}), RegsvrFailEntry);
        QVERIFY(LookupClass(QStringLiteral("Fixture.Main")));
    }

    // ---- calls by name

    void membersAnswerInAnyCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("method") << "echo" << int(VbMethod) << QVariantList{QStringLiteral("G01")} << QVariant(QStringLiteral("G01"));
        QTest::newRow("two arguments") << "ADD" << int(VbMethod) << QVariantList{2, 3} << QVariant(5);
        QTest::newRow("text to numbers") << "add" << int(VbMethod) << QVariantList{QStringLiteral("2"), QStringLiteral("40")} << QVariant(42);
        QTest::newRow("number to text") << "Echo" << int(VbMethod) << QVariantList{7} << QVariant(QStringLiteral("7"));
        QTest::newRow("method read as property") << "VERSION" << int(VbGet) << QVariantList{} << QVariant(QStringLiteral("1.1.0"));
        QTest::newRow("method with get and argument") << "half" << int(VbGet) << QVariantList{3} << QVariant(1.5);
        QTest::newRow("property called as method") << "title" << int(VbMethod) << QVariantList{} << QVariant(QStringLiteral("Fixture"));
        QTest::newRow("variant passes through") << "identity" << int(VbMethod) << QVariantList{QStringLiteral("1")} << QVariant(QStringLiteral("1"));
        QTest::newRow("empty argument") << "Echo" << int(VbMethod) << QVariantList{QVariant()} << QVariant(QString());
    }
    void membersAnswerInAnyCase()
    {
        QFETCH(QString, name);
        QFETCH(int, type);
        QFETCH(QVariantList, arguments);
        QFETCH(QVariant, expected);
        const std::unique_ptr<QObject> fixture = NewFixture();
        QVERIFY(fixture);
        QCOMPARE(CallByName(fixture.get(), name, CallType(type), arguments), expected);
    }

    void propertiesAreWrittenAndRead()
    {
        const std::unique_ptr<QObject> fixture = NewFixture();
        CallByName(fixture.get(), QStringLiteral("caption"), VbLet, {QStringLiteral("Program Statistics")});
        QCOMPARE(CallByName(fixture.get(), QStringLiteral("CAPTION"), VbGet).toString(), QStringLiteral("Program Statistics"));
        CallByName(fixture.get(), QStringLiteral("count"), VbLet, {QStringLiteral("7")});
        QCOMPARE(CallByName(fixture.get(), QStringLiteral("Count"), VbGet), QVariant(7));
    }

    void objectsAreSetByReference()
    {
        const std::unique_ptr<QObject> fixture = NewFixture();
        QObject partner;
        CallByName(fixture.get(), QStringLiteral("partner"), VbSet, {ObjectValue(&partner)});
        QCOMPARE(CallByName(fixture.get(), QStringLiteral("Partner"), VbGet).value<QObject*>(), &partner);
        CallByName(fixture.get(), QStringLiteral("Partner"), VbSet, {QVariant()});
        QCOMPARE(CallByName(fixture.get(), QStringLiteral("Partner"), VbGet).value<QObject*>(), nullptr);
        // A write-only member is a method taking the object.
        CallByName(fixture.get(), QStringLiteral("attach"), VbSet, {ObjectValue(&partner)});
        QVERIFY(CallByName(fixture.get(), QStringLiteral("IsAttached"), VbMethod).toBool());
    }

    void badCallsRaiseErrors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<int>("error");
        QTest::newRow("unknown member") << "PluginWhat" << int(VbMethod) << QVariantList{} << ErrMemberNotFound;
        QTest::newRow("signal is no member") << "destroyed" << int(VbMethod) << QVariantList{} << ErrMemberNotFound;
        QTest::newRow("too few arguments") << "Echo" << int(VbMethod) << QVariantList{} << ErrWrongArguments;
        QTest::newRow("read-only property") << "Title" << int(VbLet) << QVariantList{QStringLiteral("x")} << ErrWrongArguments;
        QTest::newRow("text that is no number") << "Add" << int(VbMethod) << QVariantList{QStringLiteral("x"), 1} << ErrTypeMismatch;
        QTest::newRow("set with text") << "Partner" << int(VbSet) << QVariantList{QStringLiteral("x")} << ErrObjectRequired;
        QTest::newRow("error of the member") << "Raise" << int(VbMethod) << QVariantList{91} << ErrObjectNotSet;
        QTest::newRow("foreign exception") << "Throw" << int(VbMethod) << QVariantList{} << ErrAutomation;
    }
    void badCallsRaiseErrors()
    {
        QFETCH(QString, name);
        QFETCH(int, type);
        QFETCH(QVariantList, arguments);
        QFETCH(int, error);
        const std::unique_ptr<QObject> fixture = NewFixture();
        QCOMPARE(ErrorOf([&] { CallByName(fixture.get(), name, CallType(type), arguments); }), error);
    }

    void callOnNothingRaises91()
    {
        QCOMPARE(ErrorOf([] { CallByName(nullptr, QStringLiteral("PluginId"), VbMethod); }), ErrObjectNotSet);
        QVERIFY(!HasMember(nullptr, QStringLiteral("PluginId")));
    }

    // A plug-in calling its host: the host's error reaches the host's caller
    // through the plug-in, with its number and text.
    void errorsPassThroughNestedCalls()
    {
        const std::unique_ptr<QObject> plugin = NewFixture();
        const std::unique_ptr<QObject> host = CreateObject(QStringLiteral("Fixture.Main"));
        CallByName(plugin.get(), QStringLiteral("Partner"), VbSet, {ObjectValue(host.get())});
        QCOMPARE(CallByName(plugin.get(), QStringLiteral("CallPartner"), VbMethod, {QStringLiteral("Version")}).toString(),
                 QStringLiteral("1.1.0"));
        QCOMPARE(ErrorOf([&] { CallByName(plugin.get(), QStringLiteral("CallPartner"), VbMethod, {QStringLiteral("Throw")}); }),
                 ErrAutomation);
        QCOMPARE(ErrorOf([&] { CallByName(plugin.get(), QStringLiteral("CallPartner"), VbMethod, {QStringLiteral("Nope")}); }),
                 ErrMemberNotFound);
        CallByName(plugin.get(), QStringLiteral("Partner"), VbSet, {QVariant()});
        QCOMPARE(ErrorOf([&] { CallByName(plugin.get(), QStringLiteral("CallPartner"), VbMethod, {QStringLiteral("Version")}); }),
                 ErrObjectNotSet);
    }

    void equalsNumber_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("isOne");
        QTest::newRow("number 1") << QVariant(1) << true;
        QTest::newRow("double 1") << QVariant(1.0) << true;
        QTest::newRow("text 1") << QVariant(QStringLiteral("1")) << true;
        QTest::newRow("text 1.0 with blanks") << QVariant(QStringLiteral(" 1.0 ")) << true;
        QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << false;
        QTest::newRow("text 2") << QVariant(QStringLiteral("2")) << false;
        QTest::newRow("empty text") << QVariant(QString()) << false;
        QTest::newRow("words") << QVariant(QStringLiteral("abc")) << false;
        QTest::newRow("true is -1") << QVariant(true) << false;
        QTest::newRow("empty") << QVariant() << false;
    }
    void equalsNumber()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, isOne);
        QCOMPARE(EqualsNumber(value, 1), isOne);
    }
};

QTEST_MAIN(ComTest)
#include "tst_com.moc"
