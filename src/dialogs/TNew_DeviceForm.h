#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kt41::dialogs {

// "Введите адрес прибора": asks for the network address of the controller
// before a connection is made. Created once at start-up and shown modally;
// the entry keeps its text from one opening to the next.
class TNew_DeviceForm : public QDialog {
    Q_OBJECT
public:
    // Modal results: "Есть" with a valid address, and "Отмена" (also Esc and
    // the close button).
    static constexpr int kModalResultYes = 6;
    static constexpr int kModalResultCancel = 2;
    // The addresses a controller can have.
    static constexpr int kFirstAddress = 1;
    static constexpr int kLastAddress = 238;

    explicit TNew_DeviceForm(QWidget* parent = nullptr);

    void FormCreate() {}
    void FormShow();
    void Button1Click(); // "Есть"

    // The entry as read from the field: the blanks at its end removed. A blank
    // inside the entry stays as "_".
    QString EntryText() const;
    // The accepted address; meaningful after the window ended with kModalResultYes.
    int Address() const;

    void reject() override; // Esc and the close button act as "Отмена"

    QLabel* Label1 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QPushButton* Button1 = nullptr; // "Есть"
    QPushButton* Button2 = nullptr; // "Отмена"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Keys typed into the entry field; true when the key is consumed.
    bool MaskEdit1KeyPress(QKeyEvent* event);
};

} // namespace kt41::dialogs
