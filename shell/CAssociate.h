#pragma once
// Registers a file type for the editor: in our registry (extension -> file
// class; the class's title, open command and icon) and, so that the
// desktop's file manager opens such files with the editor, as a desktop
// entry, a MIME type for the extension, an icon and the entry as the type's
// default application.

#include <QString>

class CAssociate {
public:
    // Error numbers (source "Associate Class").
    static constexpr qint64 ErrNoTitle = 922;
    static constexpr qint64 ErrNoClassName = 926;
    static constexpr qint64 ErrNoCommandLine = 930;
    static constexpr qint64 ErrBadExtension = 934;
    static constexpr qint64 ErrWriteFailed = 938;

    // The desktop entry written for the editor.
    static QString DesktopId() { return QStringLiteral("talvex-pelmar.desktop"); }
    static QString IconName() { return QStringLiteral("talvex-pelmar"); }
    // The MIME type made for an extension (".nc" -> "text/x-talvex-nc").
    static QString MimeTypeFor(const QString& extension);

    const QString& AppTitle() const { return appTitle_; }
    void AppTitle(const QString& value) { appTitle_ = value; }
    const QString& AppClassName() const { return appClassName_; }
    void AppClassName(const QString& value) { appClassName_ = value; }
    const QString& Extension() const { return extension_; }
    void Extension(const QString& value) { extension_ = value; }
    // The open command as the caller gives it, "%1" standing for the file:
    // "\"<folder>/Pelmar\" /f \"%1\"".
    const QString& AppCommandLine() const { return appCommandLine_; }
    void AppCommandLine(const QString& value) { appCommandLine_ = value; }
    // A path, a comma and an icon index; a PNG file is also the desktop's
    // icon, anything else gives the program's own icon.
    const QString& AppIcon() const { return appIcon_; }
    void AppIcon(const QString& value) { appIcon_ = value; }

    // Writes the association. Missing properties raise 922, 926 or 930 (in
    // that order); an empty extension, one of dots only, or one with a path
    // or pattern character raises 934; a write that fails raises 938 with
    // its cause. Nothing is written before the checks pass.
    void Associate();

private:
    void WriteRegistry() const;
    void WriteDesktop() const;

    QString appTitle_;
    QString appClassName_;
    QString extension_;
    QString appCommandLine_;
    QString appIcon_;
};
