#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace kt41::device {
class TKT41;
}

namespace kt41::dialogs {

// "Текущая дата и время": reads the controller's clock four times, a second
// apart, shows it in words and closes by itself; Enter, Esc or the close
// button close it sooner. It only reads the clock, never sets it. Created once
// at start-up, shown centred on the main window.
//
// A read without an answer shows "--:--:--" and "Нет ответа от прибора"
// instead of a date-time the controller never sent.
class TForm_Data_Time : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRefreshes = 3;          // reads after the first one
    static constexpr int kRefreshInterval = 1000; // ms

    TForm_Data_Time(device::TKT41& model, QWidget* parent);

    // Centres the window on its owner and shows it modally until it closes.
    int ShowModal();

    // --- handlers --------------------------------------------------------------
    void FormCreate();  // countdown 3, timer 1000 ms, off
    void FormShow();    // the first read, countdown 3, timer on
    void Timer1Timer(); // another read while the countdown lasts, then close
    // Enter and Esc close the window; true when the key was one of them.
    bool FormKeyPress(int key);
    // One clock read into the two lines.
    void ShowTime();
    // Whatever closes the window stops the timer first: no read follows.
    void done(int result) override;

    QLabel* Label_Date = nullptr;
    QLabel* Label_Time = nullptr;
    QTimer* Timer1 = nullptr;
    int Countdown = kRefreshes;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    device::TKT41& model_;
};

} // namespace kt41::dialogs
