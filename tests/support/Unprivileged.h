#pragma once
// A part of a test run as a user who is not root, as the suite's users are:
// root may write every file, so what a user may not do is not seen as root.
// Under root the effective user and group become nobody (65534), without
// other groups, while the object lives; under another user nothing changes.
// Files for that user are given to it with GiveToUser.

#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

class AsUnprivilegedUser {
public:
    static constexpr uid_t Nobody = 65534;
    static constexpr gid_t NoGroup = 65534;

    AsUnprivilegedUser()
    {
        if (::geteuid() != 0)
            return;
        const int count = ::getgroups(0, nullptr);
        groups_.resize(std::size_t(std::max(count, 0)));
        if (count > 0 && ::getgroups(count, groups_.data()) != count)
            groups_.clear();
        group_ = ::getegid();
        if (::setgroups(0, nullptr) != 0 || ::setegid(NoGroup) != 0 || ::seteuid(Nobody) != 0) {
            reason_ = QStringLiteral("no unprivileged user can be had: ") + QString::fromLocal8Bit(std::strerror(errno));
            restore();
            return;
        }
        switched_ = true;
    }
    ~AsUnprivilegedUser()
    {
        if (switched_)
            restore();
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

    bool ok() const { return reason_.isEmpty(); }
    QString reason() const { return reason_; }

    // Makes a file or folder the unprivileged user's (root only; another user's are theirs already).
    static bool GiveToUser(const QString& path)
    {
        return ::geteuid() != 0 || ::chown(QFile::encodeName(path).constData(), Nobody, NoGroup) == 0;
    }

private:
    void restore()
    {
        // Back to root first: only root may set the groups again.
        if (::seteuid(0) != 0 || ::setegid(group_) != 0
            || ::setgroups(groups_.size(), groups_.empty() ? nullptr : groups_.data()) != 0)
            std::abort();
    }

    std::vector<gid_t> groups_;
    gid_t group_ = 0;
    bool switched_ = false;
    QString reason_;
};

// Skips the test, saying why, when no unprivileged user could be had.
#define REQUIRE_UNPRIVILEGED(user)                                   \
    do {                                                             \
        if (!(user).ok())                                            \
            QSKIP(qPrintable((user).reason()));                      \
    } while (false)
