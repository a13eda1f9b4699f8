#include "customise/HotKeyText.h"

#include "platform/codemax/CodeMaxKeys.h"

namespace {

QString CapturePrefix(int mask)
{
    switch (mask) {
    case 1: return QStringLiteral("Shift + ");
    case 2: return QStringLiteral("Ctrl + ");
    case 3: return QStringLiteral("Shift + Ctrl + ");
    case 4: return QStringLiteral("Alt + ");
    case 5: return QStringLiteral("Shift + Alt + ");
    case 6: return QStringLiteral("Ctrl + Alt + ");
    case 7: return QStringLiteral("Shift + Ctrl + Alt + ");
    default: return QString();
    }
}

QString CaptureKeyName(int vk)
{
    switch (vk) {
    case 13: return QStringLiteral("Return");
    case 32: return QStringLiteral("Space Bar");
    case 33: return QStringLiteral("Page Up");
    case 34: return QStringLiteral("Page Down");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 37: return QStringLiteral("Left Arrow");
    case 38: return QStringLiteral("Up Arrow");
    case 39: return QStringLiteral("Right Arrow");
    case 40: return QStringLiteral("Down Arrow");
    default: return QString();
    }
}

QString ListingPrefix(int mask)
{
    switch (mask) {
    case 1: return QStringLiteral("Shift + ");
    case 2: return QStringLiteral("Ctrl + ");
    case 3: return QStringLiteral("Ctrl + Shift + ");
    case 4: return QStringLiteral("Alt + ");
    case 5: return QStringLiteral("Alt + Shift + ");
    case 6: return QStringLiteral("Ctrl + Alt + ");
    case 7: return QStringLiteral("Shift + Ctrl + Alt + ");
    default: return QString();
    }
}

QString ListingKeyName(int vk)
{
    switch (vk) {
    case 8: return QStringLiteral("Backspace");
    case 13: return QStringLiteral("Enter Key");
    case 45: return QStringLiteral("Insert");
    case 46: return QStringLiteral("Delete");
    default: break;
    }
    if (vk >= 33 && vk <= 40)
        return CaptureKeyName(vk);
    if (vk >= 113 && vk <= 123)
        return QStringLiteral("F%1").arg(vk - 111);
    if (vk >= 65 && vk <= 90)
        return QString(QChar(vk));
    return QString();
}

}  // namespace

bool CapturedKey::Assignable() const
{
    return vk != 0 && !platform::CodeMaxKeys::IsModifierKey(vk);
}

std::optional<CapturedKey> CaptureKey(int vk, int mask)
{
    mask &= 7;
    CapturedKey key;
    key.vk = vk;
    if (vk >= 65 && vk <= 90) {
        key.modifiers = mask;
        key.text = CapturePrefix(mask) + QChar(vk);
        return key;
    }
    // Keys other than letters take Shift and Ctrl over Alt.
    key.modifiers = mask == 7 ? 3 : mask;
    if (vk >= 1 && vk <= 46) {
        key.text = CapturePrefix(key.modifiers) + CaptureKeyName(vk);
        return key;
    }
    if (vk >= 112 && vk <= 123) {
        key.text = CapturePrefix(key.modifiers) + QStringLiteral("F%1").arg(vk - 111);
        return key;
    }
    return std::nullopt;
}

QString HotKeyListingText(const platform::CodeMaxHotKey& key)
{
    QString text = ListingPrefix(key.modifiers1) + ListingKeyName(key.vk1());
    switch (key.modifiers2) {
    case 1: text += QStringLiteral("Shift"); break;
    case 2: text += QStringLiteral("Control"); break;
    case 4: text += QStringLiteral("Alt"); break;
    default: break;
    }
    return text;
}
