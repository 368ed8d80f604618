#include "TForm_Data_Time.h"

#include "catalogue/ClockTexts.h"
#include "device/TKT41.h"
#include "driver/SerialPortError.h"
#include "gui/BlockingOperation.h"
#include "gui/DialogFrame.h"
#include "gui/GeneralError.h"
#include "gui/GridEditing.h"
#include "gui/WindowPlacement.h"

#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kt41::dialogs {

namespace {

QLabel* Caption(const QString& text, QWidget* parent, double scale, bool bold) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

TForm_Data_Time::TForm_Data_Time(device::TKT41& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("Form_Data_Time");
    setWindowTitle("Текущая дата и время");
    // A tool window's frame with the close button only.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* title = Caption("Сегодня", this, 1.4, true);
    title->setObjectName("Label_Today");
    title->setAlignment(Qt::AlignCenter);
    Label_Date = Caption(QString(), this, 1.15, true);
    Label_Date->setObjectName("Label_Date");
    Label_Date->setAlignment(Qt::AlignCenter);
    Label_Time = Caption(QString(), this, 2.0, true);
    Label_Time->setObjectName("Label_Time");
    Label_Time->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(18, 12, 18, 16);
    layout->setSpacing(6);
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(new QLabel("Дата:", this));
    layout->addWidget(Label_Date);
    layout->addSpacing(6);
    layout->addWidget(new QLabel("Время:", this));
    layout->addWidget(Label_Time);
    // Room for the longest date line and for the caption in the title bar.
    const QString longest = "30 сентября 2025 года, Воскресенье";
    layout->addStrut(std::max(Label_Date->fontMetrics().horizontalAdvance(longest) + 8,
                              gui::TitleBarWidth(windowTitle(), font())));

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TForm_Data_Time::FormCreate() {
    Countdown = kRefreshes;
    Timer1->setInterval(kRefreshInterval);
    Timer1->stop();
}

int TForm_Data_Time::ShowModal() {
    gui::CenterWindow(*this, parentWidget());
    return exec();
}

void TForm_Data_Time::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        gui::RunGuarded([this] { FormShow(); });
    }
}

void TForm_Data_Time::FormShow() {
    // The timer runs before the first read: events delivered at the end of a
    // read may close the window, and closing stops the timer.
    Countdown = kRefreshes;
    Timer1->start();
    ShowTime();
}

void TForm_Data_Time::Timer1Timer() {
    if (!isVisible()) {
        Timer1->stop();
        return;
    }
    if (Countdown > 0) {
        ShowTime();
        --Countdown;
    } else {
        done(QDialog::Rejected);
    }
}

void TForm_Data_Time::ShowTime() {
    const gui::BlockingOperation busy;
    double dateTime = 0.0;
    bool read = false;
    try {
        read = model_.ReadDateTime(dateTime);
    } catch (const driver::SerialPortError&) {
        read = false; // a line that fails is a clock that does not answer
    }
    const catalogue::TClockLines lines = catalogue::ClockLines(read, dateTime);
    Label_Time->setText(gui::ToQString(lines.Time));
    Label_Date->setText(gui::ToQString(lines.Date));
}

void TForm_Data_Time::done(int result) {
    Timer1->stop();
    QDialog::done(result);
}

bool TForm_Data_Time::FormKeyPress(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        done(QDialog::Rejected);
        return true;
    default:
        return false;
    }
}

void TForm_Data_Time::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyPress(event->key())) {
        QDialog::keyPressEvent(event);
    }
}

} // namespace kt41::dialogs
