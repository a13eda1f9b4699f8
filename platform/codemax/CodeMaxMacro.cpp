#include "platform/codemax/CodeMaxMacro.h"

#include "platform/forms/Error.h"

#include <QtEndian>
#include <algorithm>

namespace platform {
namespace {

constexpr char magic[4] = {'C', 'M', 'M', 'C'};
constexpr quint16 version = 1;
constexpr int headerSize = 12;

template <typename T>
void put(QByteArray& out, T value)
{
    char buf[sizeof(T)];
    qToLittleEndian<T>(value, buf);
    out.append(buf, sizeof(T));
}

// Reads values from an image, refusing to read past its end.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
    template <typename T>
    T get()
    {
        need(sizeof(T));
        const T v = qFromLittleEndian<T>(bytes_.constData() + pos_);
        pos_ += sizeof(T);
        return v;
    }
    QByteArray take(qsizetype n)
    {
        need(n);
        const QByteArray part = bytes_.mid(pos_, n);
        pos_ += n;
        return part;
    }
    bool atEnd() const { return pos_ == bytes_.size(); }
    void need(qsizetype n) const
    {
        if (n < 0 || bytes_.size() - pos_ < n)
            throw Error(5, QStringLiteral("The macro is not valid: it ends too soon."),
                        QStringLiteral(".CodeMaxGlobals"));
    }

private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

}  // namespace

void CodeMaxMacro::AddCommand(int command, std::optional<long long> data)
{
    Step step;
    step.kind = Step::Command;
    step.command = command;
    step.data = data;
    steps_.push_back(step);
}

void CodeMaxMacro::AddText(const QString& text)
{
    if (text.isEmpty())
        return;
    if (!steps_.empty() && steps_.back().kind == Step::Text) {
        steps_.back().text += text;
        return;
    }
    Step step;
    step.kind = Step::Text;
    step.text = text;
    steps_.push_back(step);
}

QByteArray CodeMaxMacro::ToBytes() const
{
    QByteArray out;
    if (steps_.empty())
        return out;
    out.append(magic, sizeof magic);
    put<quint16>(out, version);
    put<quint16>(out, 0);
    put<quint32>(out, quint32(steps_.size()));
    for (const Step& step : steps_) {
        out.append(char(step.kind));
        if (step.kind == Step::Command) {
            put<qint32>(out, step.command);
            out.append(char(step.data ? 1 : 0));
            if (step.data)
                put<qint64>(out, *step.data);
        } else {
            const QByteArray utf8 = step.text.toUtf8();
            put<quint32>(out, quint32(utf8.size()));
            out.append(utf8);
        }
    }
    return out;
}

CodeMaxMacro CodeMaxMacro::FromBytes(const QByteArray& bytes)
{
    CodeMaxMacro macro;
    if (bytes.isEmpty())
        return macro;
    const auto refuse = [](const QString& why) {
        return Error(5, QStringLiteral("The macro is not valid: %1.").arg(why),
                     QStringLiteral(".CodeMaxGlobals"));
    };
    if (bytes.size() < headerSize || !std::equal(std::begin(magic), std::end(magic), bytes.begin()))
        throw refuse(QStringLiteral("it is not a macro of this editor"));
    Reader in(bytes);
    in.take(4);
    if (in.get<quint16>() != version)
        throw refuse(QStringLiteral("unknown format version"));
    in.get<quint16>();
    const quint32 count = in.get<quint32>();
    for (quint32 i = 0; i < count; ++i) {
        const auto kind = in.get<quint8>();
        if (kind == Step::Command) {
            const int command = in.get<qint32>();
            const auto hasData = in.get<quint8>();
            if (hasData > 1)
                throw refuse(QStringLiteral("step %1 is damaged").arg(i));
            std::optional<long long> data;
            if (hasData)
                data = in.get<qint64>();
            macro.AddCommand(command, data);
        } else if (kind == Step::Text) {
            const quint32 length = in.get<quint32>();
            const QByteArray utf8 = in.take(qsizetype(length));
            Step step;
            step.kind = Step::Text;
            step.text = QString::fromUtf8(utf8);
            macro.steps_.push_back(step);  // kept apart, as stored
        } else {
            throw refuse(QStringLiteral("step %1 has an unknown kind").arg(i));
        }
    }
    if (!in.atEnd())
        throw refuse(QStringLiteral("wrong length"));
    return macro;
}

}  // namespace platform
