#include "zuhost/ZuHostScript.h"

#include "platform/com/CallByName.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/files/AtomicWrite.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ShowModal.h"
#include "zuhost/ZuHostBagFile.h"
#include "zuhost/ZuHostEventLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

constexpr char DefaultProgId[] = "ZUEDIT2.ZuEdit2Ctrl.1";

// Creates by ProgID; a class not yet registered is registered from the library beside the program.
std::unique_ptr<QObject> CreateControl(const QString& progId)
{
    try {
        return platform::CreateObject(progId);
    } catch (const platform::Error& e) {
        if (e.number() != 429)
            throw;
    }
    const QString library = platform::ProgramFile(QStringLiteral("ZUEDIT32.so"));
    if (!QFile::exists(library))
        throw platform::Error(429, QStringLiteral("ActiveX component can't create object"), progId);
    platform::RegisterLibrary(library, 60000);
    return platform::CreateObject(progId);
}

}  // namespace

ZuHostScript::ZuHostScript() : events_(std::make_unique<ZuHostEventLog>()) {}

ZuHostScript::~ZuHostScript()
{
    events_->Detach();
}

QWidget* ZuHostScript::ControlWidget() const
{
    return control_ && control_->isWidgetType() ? static_cast<QWidget*>(control_.get()) : nullptr;
}

void ZuHostScript::Create(const QString& progId)
{
    events_->Detach();
    control_.reset();
    control_ = CreateControl(progId.isEmpty() ? QString::fromLatin1(DefaultProgId) : progId);
    events_->ClearLines();
    checkedEvents_ = 0;
    events_->Attach(control_.get());
    if (QWidget* widget = ControlWidget())
        widget->resize(400, 300);
}

QStringList ZuHostScript::Words(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < line.size() && (line[i + 1] == u'"' || line[i + 1] == u'\\')) {
                word += line[++i];
            } else if (c == u'\\' && i + 1 < line.size() && line[i + 1] == u'n') {
                word += u'\n';
                ++i;
            } else if (c == u'\\' && i + 1 < line.size() && line[i + 1] == u'r') {
                word += u'\r';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == u'"') {
            quoted = true;
            inWord = true;
            word += QChar(0x1);  // marks quoted text
        } else if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QVariant ZuHostScript::ValueOf(const QString& word)
{
    if (word.startsWith(QChar(0x1)))
        return word.mid(1);
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    if (word.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QString digits = word.mid(2);
        if (digits.endsWith(u'&'))
            digits.chop(1);
        const qlonglong v = digits.toLongLong(&ok, 16);
        if (ok)
            return v;
    }
    if (word.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const qlonglong v = word.mid(2).toLongLong(&ok, 16);
        if (ok)
            return v;
    }
    const qlonglong n = word.toLongLong(&ok);
    if (ok)
        return n;
    const double d = word.toDouble(&ok);
    if (ok)
        return d;
    return word;
}

QString ZuHostScript::TextOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant& v : value.toList())
            parts << TextOf(v);
        return QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (value.typeId() == QMetaType::Float || value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble());
    return value.toString();
}

QString ZuHostScript::PathOf(const QString& file) const
{
    return QDir::isAbsolutePath(file) || baseFolder_.isEmpty() ? file : QDir(baseFolder_).filePath(file);
}

int ZuHostScript::Run(const QStringList& lines, QTextStream& out, const QString& baseFolder)
{
    baseFolder_ = baseFolder;
    events_->onEvent = [&out](const QString& line) { out << "event " << line << '\n'; };
    // Headless: a dialog is noted and closed with its OK button, a message box with its default.
    const platform::ModalHandler previousModal = platform::SetModalHandler([&out](QDialog& dialog) {
        out << "dialog " << dialog.windowTitle() << '\n';
        auto* box = dialog.findChild<QDialogButtonBox*>();
        if (box && box->button(QDialogButtonBox::Ok))
            box->button(QDialogButtonBox::Ok)->click();
        else
            dialog.reject();
        return dialog.result();
    });
    const platform::MsgBoxHandler previousMsgBox =
        platform::SetMsgBoxHandler([&out](const QString& prompt, int style, const QString&) {
            out << "message " << prompt << '\n';
            return platform::MsgBoxDefaultResult(style);
        });
    struct Restore {
        platform::ModalHandler modal;
        platform::MsgBoxHandler msgBox;
        ~Restore()
        {
            platform::SetModalHandler(modal);
            platform::SetMsgBoxHandler(msgBox);
        }
    } restore{previousModal, previousMsgBox};
    int number = 0;
    for (const QString& line : lines) {
        ++number;
        QString output;
        QString message;
        if (!RunLine(line, output, message)) {
            out << "line " << number << ": " << line.trimmed() << '\n' << "FAILED: " << message << '\n';
            out.flush();
            events_->onEvent = nullptr;
            return 1;
        }
        if (!output.isEmpty())
            out << output << '\n';
    }
    out << "passed\n";
    out.flush();
    events_->onEvent = nullptr;
    return 0;
}

bool ZuHostScript::RunLine(const QString& line, QString& output, QString& message)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
        return true;
    try {
        return Execute(Words(trimmed), output, message);
    } catch (const platform::Error& e) {
        message = QStringLiteral("error %1: %2").arg(e.number()).arg(e.description());
        return false;
    }
}

namespace {

QString Plain(const QString& word) { return word.startsWith(QChar(0x1)) ? word.mid(1) : word; }

bool FillField(QDialog& dialog, const QString& name, const QString& value)
{
    QWidget* field = dialog.findChild<QWidget*>(name);
    if (auto* list = qobject_cast<QComboBox*>(field)) {
        int index = list->findText(value);
        if (index < 0) {
            bool ok = false;
            index = value.toInt(&ok);
            if (!ok || index < 0 || index >= list->count())
                return false;
        }
        list->setCurrentIndex(index);
        return true;
    }
    if (auto* check = qobject_cast<QCheckBox*>(field)) {
        check->setChecked(ZuHostScript::ValueOf(value).toBool());
        return true;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(value);
        return true;
    }
    return false;
}

}  // namespace

bool ZuHostScript::Execute(const QStringList& words, QString& output, QString& message)
{
    const QString command = words.first().toLower();
    const QStringList args = words.mid(1);
    auto need = [&](qsizetype n) {
        if (args.size() < n)
            message = QStringLiteral("%1 needs %2 argument(s)").arg(command).arg(n);
        return args.size() >= n;
    };
    if (command == QLatin1String("create")) {
        Create(args.isEmpty() ? QString() : Plain(args.first()));
        output = QStringLiteral("created %1").arg(QString::fromLatin1(control_->metaObject()->className()));
        return true;
    }
    if (command == QLatin1String("echo")) {
        QStringList plain;
        for (const QString& a : args)
            plain << Plain(a);
        output = plain.join(u' ');
        return true;
    }
    if (!control_)
        Create(QString());
    QObject* control = control_.get();
    if (command == QLatin1String("set")) {
        if (!need(2))
            return false;
        platform::CallByName(control, Plain(args[0]), platform::VbLet, {ValueOf(args[1])});
        return true;
    }
    if (command == QLatin1String("get")) {
        if (!need(1))
            return false;
        const QString value = TextOf(platform::CallByName(control, Plain(args[0]), platform::VbGet));
        output = QStringLiteral("%1 = %2").arg(Plain(args[0]), value);
        if (args.size() > 1 && value != TextOf(ValueOf(args[1]))) {
            message = QStringLiteral("%1 is %2, expected %3").arg(Plain(args[0]), value, TextOf(ValueOf(args[1])));
            return false;
        }
        return true;
    }
    if (command == QLatin1String("call")) {
        if (!need(1))
            return false;
        QVariantList values;
        for (const QString& a : args.mid(1))
            values << ValueOf(a);
        const QVariant result = platform::CallByName(control, Plain(args[0]), platform::VbMethod, values);
        output = result.isValid() ? QStringLiteral("%1 -> %2").arg(Plain(args[0]), TextOf(result)) : QString();
        return true;
    }
    if (command == QLatin1String("error")) {
        if (!need(2))
            return false;
        const int number = args[0].toInt();
        try {
            QString ignored;
            if (!Execute(args.mid(1), ignored, message))
                return false;
        } catch (const platform::Error& e) {
            if (e.number() == number) {
                output = QStringLiteral("error %1: %2").arg(e.number()).arg(e.description());
                return true;
            }
            message = QStringLiteral("error %1 (%2), expected %3").arg(e.number()).arg(e.description()).arg(number);
            return false;
        }
        message = QStringLiteral("no error, expected %1").arg(number);
        return false;
    }
    if (command == QLatin1String("answer")) {
        if (!need(3))
            return false;
        events_->SetAnswer(Plain(args[0]), args[1].toInt(), ValueOf(args[2]));
        return true;
    }
    if (command == QLatin1String("expect-event")) {
        if (!need(1))
            return false;
        const QString wanted = QStringList(args).replaceInStrings(QChar(0x1), QString()).join(u' ');
        if (checkedEvents_ >= events_->Lines().size()) {
            message = QStringLiteral("no event left, expected %1").arg(wanted);
            return false;
        }
        const QString got = events_->Lines()[checkedEvents_++];
        if (got != wanted && !(got.startsWith(wanted + u'(') && !wanted.contains(u'('))) {
            message = QStringLiteral("event %1, expected %2").arg(got, wanted);
            return false;
        }
        return true;
    }
    if (command == QLatin1String("expect-no-event")) {
        if (checkedEvents_ < events_->Lines().size()) {
            message = QStringLiteral("unexpected event %1").arg(events_->Lines()[checkedEvents_]);
            return false;
        }
        return true;
    }
    if (command == QLatin1String("clear-events")) {
        checkedEvents_ = int(events_->Lines().size());
        return true;
    }
    if (command == QLatin1String("save-bag") || command == QLatin1String("load-bag")) {
        if (!need(1))
            return false;
        const QString path = PathOf(Plain(args[0]));
        const bool ok = command == QLatin1String("save-bag") ? ZuHostSaveBag(control, path, message)
                                                             : ZuHostLoadBag(control, path, message);
        return ok;
    }
    if (command == QLatin1String("design-mode")) {
        if (!need(1))
            return false;
        platform::CallByName(control, QStringLiteral("SetAmbientUserMode"), platform::VbMethod,
                             {args[0].compare(QLatin1String("on"), Qt::CaseInsensitive) != 0});
        return true;
    }
    if (command == QLatin1String("field")) {
        if (!need(2))
            return false;
        fields_.append({Plain(args[0]), Plain(args[1])});
        return true;
    }
    if (command == QLatin1String("properties")) {
        const QString button = args.isEmpty() ? QStringLiteral("ok") : args[0].toLower();
        const QList<QPair<QString, QString>> fields = fields_;
        fields_.clear();
        bool filled = true;
        QString missing;
        const platform::ModalHandler previous = platform::SetModalHandler([&](QDialog& dialog) {
            for (const auto& [name, value] : fields) {
                if (!FillField(dialog, name, value)) {
                    filled = false;
                    missing = name;
                }
            }
            auto* box = dialog.findChild<QDialogButtonBox*>();
            const QDialogButtonBox::StandardButton which = button == QLatin1String("cancel") ? QDialogButtonBox::Cancel
                                                           : button == QLatin1String("apply") ? QDialogButtonBox::Apply
                                                                                              : QDialogButtonBox::Ok;
            if (box && box->button(which))
                box->button(which)->click();
            if (which == QDialogButtonBox::Apply && dialog.result() == 0)
                dialog.reject();
            return dialog.result();
        });
        try {
            platform::CallByName(control, QStringLiteral("ShowPropertyPages"), platform::VbMethod);
        } catch (...) {
            platform::SetModalHandler(previous);
            throw;
        }
        platform::SetModalHandler(previous);
        if (!filled) {
            message = QStringLiteral("the sheet has no field %1").arg(missing);
            return false;
        }
        return true;
    }
    if (command == QLatin1String("type") || command == QLatin1String("key")) {
        if (!need(1))
            return false;
        QWidget* widget = ControlWidget();
        if (!widget) {
            message = QStringLiteral("the control is no window");
            return false;
        }
        if (command == QLatin1String("type")) {
            for (const QChar c : Plain(args[0])) {
                const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - u'A') : c.unicode();
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
                QApplication::sendEvent(widget, &press);
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
                QApplication::sendEvent(widget, &release);
            }
        } else {
            const QKeySequence sequence(Plain(args[0]));
            if (sequence.isEmpty()) {
                message = QStringLiteral("no such key %1").arg(Plain(args[0]));
                return false;
            }
            const QKeyCombination combination = sequence[0];
            QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
            QApplication::sendEvent(widget, &release);
        }
        return true;
    }
    message = QStringLiteral("unknown command %1").arg(words.first());
    return false;
}

bool ZuHostSaveBag(QObject* control, const QString& path, QString& error)
{
    const QVariantList pairs =
        platform::CallByName(control, QStringLiteral("SavePropertyBag"), platform::VbMethod).toList();
    std::vector<ZuBagEntry> entries;
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const QVariant& value = pairs[i + 1];
        const QString text = value.typeId() == QMetaType::Bool ? (value.toBool() ? QStringLiteral("-1") : QStringLiteral("0"))
                                                              : value.toString();
        entries.push_back({pairs[i].toString().toStdString(), text.toStdString()});
    }
    const std::string text = ZuFormatBagFile(entries);
    const platform::WriteOutcome outcome =
        platform::WriteFileAtomically(path, QByteArrayView(text.data(), qsizetype(text.size())));
    if (!outcome)
        error = outcome.error;
    return bool(outcome);
}

bool ZuHostLoadBag(QObject* control, const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    QVariantList pairs;
    for (const ZuBagEntry& entry : ZuParseBagFile(std::string_view(bytes.constData(), std::size_t(bytes.size()))))
        pairs << QString::fromStdString(entry.name) << QString::fromStdString(entry.value);
    platform::CallByName(control, QStringLiteral("LoadPropertyBag"), platform::VbMethod, {QVariant(pairs)});
    return true;
}
