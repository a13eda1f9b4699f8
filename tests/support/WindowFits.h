#pragma once
// Whether a shown window fits the screen and shows its texts whole: its frame
// lies inside the screen's available area, and every label, button, group
// box title, combo box text, line edit text, list item, menu title and
// toolbar button it shows has the room its font needs. The answer is the
// list of what does not fit (empty when all does), for the failure message.
// CutTexts is the stricter check of texts alone: a label's wrapped height, a
// combo box's and a tab's whole width.
//
// With TALVEX_SCREENSHOTS naming a folder, ScreenShot saves the screen there
// as <name>.png, to look at what a user sees.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QStringList>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QToolBar>
#include <QWidget>

namespace windowfits {

inline QString Name(const QWidget* widget)
{
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(widget->metaObject()->className()),
                                           widget->objectName());
}

// The room a line edit gives its text.
inline int LineEditTextWidth(const QLineEdit& edit)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    option.features = QStyleOptionFrame::None;
    QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    contents = contents.marginsRemoved(edit.textMargins());
    return contents.width() - 2 * 2;  // the line edit's own margin on each side
}

inline int ComboTextWidth(const QComboBox& combo)
{
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    option.frame = combo.hasFrame();
    return combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo).width();
}

inline QStringList Problems(QWidget& window)
{
    QStringList problems;
    const QRect area = window.screen()->availableGeometry();
    if (!area.contains(window.frameGeometry()))
        problems << QStringLiteral("the frame %1,%2 %3x%4 leaves the available area %5x%6")
                        .arg(window.frameGeometry().x())
                        .arg(window.frameGeometry().y())
                        .arg(window.frameGeometry().width())
                        .arg(window.frameGeometry().height())
                        .arg(area.width())
                        .arg(area.height());
    const auto tooSmall = [&problems](const QWidget* widget, const QString& text, QSize needed) {
        if (needed.width() > widget->width() || needed.height() > widget->height())
            problems << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
                            .arg(Name(widget), text)
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(widget->width())
                            .arg(widget->height());
    };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || widget->window() != &window)
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty())
                continue;
            if (label->wordWrap())
                tooSmall(label, label->text(), {0, label->heightForWidth(label->width())});
            else
                tooSmall(label, label->text(), label->sizeHint());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            // A toolbar's buttons are checked by the toolbar.
            if (!button->text().isEmpty() && qobject_cast<QToolBar*>(button->parentWidget()) == nullptr)
                tooSmall(button, button->text(), button->minimumSizeHint());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            tooSmall(group, group->title(), {group->minimumSizeHint().width(), 0});
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const int needed = combo->fontMetrics().horizontalAdvance(combo->currentText());
            if (needed > ComboTextWidth(*combo))
                problems << QStringLiteral("%1 shows \"%2\" in %3 px of %4")
                                .arg(Name(combo), combo->currentText())
                                .arg(ComboTextWidth(*combo))
                                .arg(needed);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            const int needed = edit->fontMetrics().horizontalAdvance(edit->displayText());
            if (edit->parentWidget() != nullptr && qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr)
                continue;
            if (needed > LineEditTextWidth(*edit))
                problems << QStringLiteral("%1 shows \"%2\" in %3 px of %4")
                                .arg(Name(edit), edit->displayText())
                                .arg(LineEditTextWidth(*edit))
                                .arg(needed);
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (int row = 0; row < list->count(); ++row) {
                const QListWidgetItem* item = list->item(row);
                const int needed = list->visualItemRect(item).left() + list->sizeHintForIndex(list->indexFromItem(item)).width();
                if (needed > list->viewport()->width())
                    problems << QStringLiteral("%1 item \"%2\" needs %3 px, the list shows %4")
                                    .arg(Name(list), item->text())
                                    .arg(needed)
                                    .arg(list->viewport()->width());
            }
        } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
            for (QAction* menu : bar->actions()) {
                const QRect place = bar->actionGeometry(menu);
                if (menu->isVisible() && (place.isEmpty() || !bar->rect().contains(place)))
                    problems << QStringLiteral("%1 has no room for the menu \"%2\"").arg(Name(bar), menu->text());
            }
        } else if (auto* toolbar = qobject_cast<QToolBar*>(widget)) {
            for (QAction* action : toolbar->actions()) {
                QWidget* shown = toolbar->widgetForAction(action);
                if (action->isVisible() && !action->isSeparator() && (shown == nullptr || !shown->isVisible()))
                    problems << QStringLiteral("%1 has no room for the button \"%2\"").arg(Name(toolbar), action->text());
            }
        }
    }
    return problems;
}

// A caption as shown, without its mnemonic marks.
inline QString PlainText(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// Every visible text of the window that does not fit its widget.
inline QStringList CutTexts(const QWidget& window)
{
    QStringList cut;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const QFontMetrics metrics = widget->fontMetrics();
        const QSize size = widget->size();
        if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().isEmpty()) {
            const QRect room = label->contentsRect();
            const QRect needed = metrics.boundingRect(QRect(QPoint(0, 0), QSize(room.width(), 10000)),
                                                      label->wordWrap() ? Qt::TextWordWrap : 0, PlainText(label->text()));
            if (needed.width() > room.width() || needed.height() > room.height())
                cut << Name(label) + QStringLiteral(": ") + label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget);
                   button && !button->text().isEmpty()) {
            const QSize needed = button->minimumSizeHint();
            if (size.width() < needed.width() || size.height() < needed.height())
                cut << Name(button) + QStringLiteral(": ") + button->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget); group && !group->title().isEmpty()) {
            if (size.width() < metrics.horizontalAdvance(PlainText(group->title())))
                cut << Name(group) + QStringLiteral(": ") + group->title();
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            // The frameless box inside a spin box or a combo box is as high as that box makes it.
            const QWidget* owner = edit->parentWidget();
            const bool inner = qobject_cast<const QAbstractSpinBox*>(owner) != nullptr
                               || qobject_cast<const QComboBox*>(owner) != nullptr;
            if ((!inner && size.height() < edit->minimumSizeHint().height())
                || metrics.horizontalAdvance(edit->text()) > edit->contentsRect().width() - 4)
                cut << Name(edit) + QStringLiteral(": ") + edit->text();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            if (size.width() < combo->minimumSizeHint().width() || size.height() < combo->minimumSizeHint().height())
                cut << Name(combo) + QStringLiteral(": ") + combo->currentText();
        } else if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                if (list->visualItemRect(list->item(i)).left() + metrics.horizontalAdvance(list->item(i)->text())
                    > list->viewport()->width())
                    cut << Name(list) + QStringLiteral(": ") + list->item(i)->text();
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (!tabs->rect().contains(tabs->tabRect(i))
                    || tabs->tabRect(i).width() < metrics.horizontalAdvance(PlainText(tabs->tabText(i))))
                    cut << Name(tabs) + QStringLiteral(": ") + tabs->tabText(i);
        }
    }
    return cut;
}

// Saves the window's screen as <TALVEX_SCREENSHOTS>/<name>.png when that
// folder is named.
inline void ScreenShot(QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("TALVEX_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    // A real display shows the whole screen; elsewhere the window paints itself.
    const QPixmap shot = QGuiApplication::platformName() == u"xcb" ? window.screen()->grabWindow(0) : window.grab();
    shot.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace windowfits
