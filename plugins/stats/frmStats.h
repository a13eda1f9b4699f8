#pragma once

#include <QDialog>
#include <QPointer>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The statistics window: the smallest and largest X, Y and Z of the active
// program and its extent along each axis.
class frmStats : public QDialog {
    Q_OBJECT

public:
    explicit frmStats(QWidget* parent = nullptr);

    // The plug-in's Main object; the window reaches the host through its HostObject.
    QPointer<QObject> CallBack;

    // Minimum and maximum per axis: X in 0 and 1, Y in 2 and 3, Z in 4 and 5.
    std::array<QLineEdit*, 6> txt{};
    std::array<QLabel*, 6> lbl{};
    QLineEdit* txtLX = nullptr;
    QLineEdit* txtWY = nullptr;
    QLineEdit* txtHZ = nullptr;
    QLabel* lblCalc = nullptr;
    QPushButton* cmdOK = nullptr;
    QWidget* fraResults = nullptr;

public slots:
    // Reads the program and fills the boxes.
    void Form_Activate();
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    QGroupBox* AxisFrame(const QString& title, int first);

    bool m_activated = false;
};
