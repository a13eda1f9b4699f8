#pragma once
// A tiny tmpfs for tests that must see a full disk for real. Mounting needs
// root; without it the fixture is not mounted and the test skips itself
// with the reason.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <unistd.h>

class SmallDisk {
public:
    // A tmpfs of `bytes` bytes (rounded up to pages by the kernel).
    explicit SmallDisk(qint64 bytes)
    {
        if (::geteuid() != 0) {
            reason_ = QStringLiteral("mounting a small tmpfs needs root");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
            reason_ = QStringLiteral("mount of a small tmpfs refused: ") + QString::fromLocal8Bit(strerror(errno));
            return;
        }
        mounted_ = true;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString reason() const { return reason_; }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // Fills the disk until only about `left` bytes remain free.
    void fillLeaving(qint64 left) const
    {
        QFile filler(path(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        filler.resize(qMax<qint64>(0, filler.size() - left));
    }

private:
    QTemporaryDir dir_;
    QString reason_;
    bool mounted_ = false;
};

// Skips the test when the disk could not be mounted.
#define REQUIRE_SMALL_DISK(disk)                                     \
    do {                                                             \
        if (!(disk).mounted())                                       \
            QSKIP(qPrintable((disk).reason()));                      \
    } while (false)
