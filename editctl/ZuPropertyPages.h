#pragma once
// The control's property pages and the sheet that shows them. Each page binds
// its fields to control properties by name: opening reads the values from the
// first selected control, Apply writes each changed field to every selected
// control through the property's setter, so every clamp and error of the
// setter applies. A refused value is shown in a message box and the field
// keeps what was typed; a number field that holds no number is refused before
// anything of the page is written.

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

class QFormLayout;
class QTabWidget;

class ZuPropertyPage : public QWidget {
    Q_OBJECT
public:
    enum Kind { Check, Number, Text, List, Color, Float };

    explicit ZuPropertyPage(QWidget* parent = nullptr);

    // The caption of the page's tab.
    QString Caption() const { return caption_; }
    void SetObjects(const QList<QObject*>& objects);
    // Reads every bound property of the first control into the fields.
    void Load();
    // Writes the changed fields; false when a field was refused (by the page
    // or by a setter). Fields already written stay written.
    bool Apply();
    bool IsChanged() const;

protected:
    void SetCaption(const QString& caption) { caption_ = caption; }
    // Adds a field bound to a property; the label carries its mnemonic ("Caret&Height:").
    QWidget* Bind(int id, const QString& label, const QString& property, Kind kind);
    QFormLayout* Form() const { return form_; }

private:
    struct Binding {
        int id;
        QString property;
        Kind kind;
        QWidget* widget;
        QVariant loaded;
    };
    QVariant FieldValue(const Binding& binding, bool* ok) const;
    void SetFieldValue(Binding& binding, const QVariant& value);

    QString caption_;
    QFormLayout* form_;
    QList<Binding> bindings_;
    QList<QPointer<QObject>> objects_;
};

class ZuEditor20PropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditor20PropPage(QWidget* parent = nullptr);
};

class ZuEditor20TextPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditor20TextPropPage(QWidget* parent = nullptr);
    // The Browse button: an open dialog whose choice goes into the "File&Open:" field only.
    void Browse();
};

class ZuEditor20SearchPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditor20SearchPropPage(QWidget* parent = nullptr);
};

class ZuEditor20WrapPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditor20WrapPropPage(QWidget* parent = nullptr);
};

class ZuEditor20MarginsPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditor20MarginsPropPage(QWidget* parent = nullptr);
};

class ZuEditor20SplitterPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditor20SplitterPropPage(QWidget* parent = nullptr);
};

class ZuEditorSelectionPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuEditorSelectionPropPage(QWidget* parent = nullptr);
};

// The stock pages that follow ours: the colours and the font of the control.
class ZuColorPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuColorPropPage(QWidget* parent = nullptr);
};

class ZuFontPropPage : public ZuPropertyPage {
    Q_OBJECT
public:
    explicit ZuFontPropPage(QWidget* parent = nullptr);
};

// The property sheet: every page in the control's order, with OK, Cancel and Apply.
class ZuPropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit ZuPropertySheet(const QList<QObject*>& objects, QWidget* parent = nullptr);
    QList<ZuPropertyPage*> Pages() const { return pages_; }
    ZuPropertyPage* Page(const QString& caption) const;
    // Applies every page; false when one refused a value (the sheet stays open on OK).
    bool ApplyAll();

private:
    QTabWidget* tabs_;
    QList<ZuPropertyPage*> pages_;
};

// Shows the sheet modally for the controls (through the modal runner).
int ZuShowPropertySheet(const QList<QObject*>& objects, QWidget* parent = nullptr);
