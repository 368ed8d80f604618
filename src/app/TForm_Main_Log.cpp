// Message log, status bar and the progress handler of the main window.
#include "TForm_Main.h"
#include "device/ProgressTexts.h"
#include "gui/GeneralError.h"
#include "gui/Prompt.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTime>

namespace kt41::app {

namespace {

QLabel* Panel(const QString& name, Qt::Alignment alignment) {
    auto* panel = new QLabel;
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setContentsMargins(4, 0, 4, 0);
    panel->setMinimumWidth(0);
    return panel;
}

gui::PromptIcon IconOf(driver::MessageIcon icon) {
    switch (icon) {
    case driver::MessageIcon::Error:
        return gui::PromptIcon::Error;
    case driver::MessageIcon::Warning:
        return gui::PromptIcon::Warning;
    case driver::MessageIcon::Information:
        break;
    }
    return gui::PromptIcon::Information;
}

} // namespace

void TForm_Main::BuildStatusBar() {
    auto* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    StatusPanel0 = Panel("StatusPanel0", Qt::AlignLeft);
    StatusPanel1 = Panel("StatusPanel1", Qt::AlignHCenter);
    StatusPanel2 = Panel("StatusPanel2", Qt::AlignHCenter);
    StatusPanel0->setFixedWidth(kPanel0Width);
    StatusPanel2->setFixedWidth(kPanel2Width);
    StatusPanel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusPanel0->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    StatusPanel2->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* panels = new QWidget;
    panels->setObjectName("StatusPanels");
    auto* layout = new QHBoxLayout(panels);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StatusPanel0);
    layout->addWidget(StatusPanel1, 1);
    layout->addWidget(StatusPanel2);
    bar->addWidget(panels, 1);
    StatusPanel2->setText("Не подключено");
}

bool TForm_Main::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // The long part of the hint under the mouse goes into panel 0.
        StatusPanel0->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TForm_Main::LogMessage(const QString& text) {
    Memo1->appendPlainText(QTime::currentTime().toString("h:mm:ss.zzz") + "  " + text);
}

void TForm_Main::LogResult(const QString& text, int error) {
    LogMessage(QString::fromStdString(device::ResultText(text.toStdString(), error != 0)));
}

void TForm_Main::SetActivityText(const QString& text) {
    StatusPanel1->setText(text);
    statusBar()->repaint();
}

void TForm_Main::SetConnectionText(const QString& text) {
    StatusPanel2->setText(text);
    statusBar()->repaint();
}

void TForm_Main::PostProgress(int code, std::uint32_t lParam) {
    Progress(code, lParam);
}

void TForm_Main::Progress(int code, std::uint32_t lParam) {
    // The sender is in the middle of an operation: nothing thrown here may reach it.
    gui::RunGuarded([&] { HandleProgress(code, lParam); });
}

void TForm_Main::HandleProgress(int code, std::uint32_t lParam) {
    const device::ProgressReaction reaction = device::DescribeProgress(code, lParam);
    const QString text = QString::fromStdString(reaction.Text);
    if (reaction.Logs) {
        if (reaction.WithResult) {
            LogResult(text, reaction.Failed ? 1 : 0);
        } else {
            LogMessage(text);
        }
    }
    if (reaction.SetsStatus) {
        SetActivityText(text);
    }
}

void TForm_Main::ShowMessage(const std::string& caption, const std::string& text,
                             driver::MessageIcon icon) {
    gui::MessageRequest request;
    request.Caption = QString::fromStdString(caption);
    request.Text = QString::fromStdString(text);
    request.Icon = IconOf(icon);
    request.Topmost = true;
    request.Owner = this;
    gui::CurrentPrompt().Message(request);
}

} // namespace kt41::app
