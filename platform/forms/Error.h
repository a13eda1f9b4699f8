#pragma once
// The error type of the programs: what a handler that "traps its errors"
// catches (together with std::exception).

#include <QByteArray>
#include <QString>
#include <exception>

namespace platform {

class Error : public std::exception {
public:
    // The number is kept as a signed 32-bit value, as the error numbers are
    // shown; 0x800469A9 may be given as written and reads back negative.
    Error(qint64 number, QString description, QString source = QString());

    qint32 number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }
    // True when number() equals the given number taken to 32 bits.
    bool is(qint64 number) const noexcept;
    // The description (UTF-8).
    const char* what() const noexcept override;

    static qint32 toNumber(qint64 number) noexcept {
        return static_cast<qint32>(static_cast<quint32>(number));
    }

private:
    qint32 number_;
    QString description_;
    QString source_;
    QByteArray what_;
};

}  // namespace platform
