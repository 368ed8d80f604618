#include "TForm_About.h"

#include "gui/DesktopServices.h"
#include "gui/DialogFrame.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

constexpr int kLogoSize = 64;

QLabel* Label(const QString& name, const QString& text = {}) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

// A label shown as a link with a hand cursor; its click is handled by the window.
QLabel* LinkLabel(const QString& name, QObject* filter) {
    QLabel* label = Label(name);
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 238));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->installEventFilter(filter);
    return label;
}

} // namespace

TForm_About::TForm_About(QWidget* parent, VersionSource version, QString programFile)
    : QDialog(parent), versionSource_(std::move(version)), programFile_(std::move(programFile)) {
    setObjectName("Form_About");
    setWindowTitle("О программе...");
    gui::SetFixedDialogFrame(*this);
    setModal(true);

    Image1 = Label("Image1");
    Image1->setPixmap(QApplication::windowIcon().pixmap(kLogoSize, kLogoSize));
    Image1->setAlignment(Qt::AlignTop);
    Label_Title = Label("Label_Title", "Настройка регулятора KT-41");
    QFont title = Label_Title->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    Label_Title->setFont(title);
    StaticText_VerNumb = Label("StaticText_VerNumb");
    StaticText_DataRelease = Label("StaticText_DataRelease");
    Label_Maker = Label("Label_Maker", "© Velmar. Все права защищены.");
    Label_URL = LinkLabel("Label_URL", this);
    Label_Mail = LinkLabel("Label_Mail", this);
    Button1 = new QPushButton("OK");
    Button1->setObjectName("Button1");
    Button1->setDefault(true);

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(10);
    facts->addWidget(Label_Title, 0, 0, 1, 2);
    facts->addWidget(StaticText_VerNumb, 1, 0, 1, 2);
    facts->addWidget(Label("Label_Date", "Дата выхода:"), 2, 0);
    facts->addWidget(StaticText_DataRelease, 2, 1);
    facts->addWidget(Label_Maker, 3, 0, 1, 2);
    facts->addWidget(Label("Label_Site", "Сайт:"), 4, 0);
    facts->addWidget(Label_URL, 4, 1);
    facts->addWidget(Label("Label_EMail", "E-Mail:"), 5, 0);
    facts->addWidget(Label_Mail, 5, 1);
    facts->setColumnStretch(1, 1);
    facts->setRowMinimumHeight(3, 28);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(Image1);
    top->addLayout(facts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addStrut(gui::TitleBarWidth(windowTitle(), font()));

    connect(Button1, &QPushButton::clicked, this, &TForm_About::Button1Click);
}

void TForm_About::FormCreate() {
    homePage_ = gui::HomePageUrl();
    mail_ = gui::SupportMail();
    ReadVersion();
}

void TForm_About::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TForm_About::FormShow() {
    Label_URL->setText(homePage_);
    Label_Mail->setText(mail_);
    ReadVersion();
    Button1->setFocus(Qt::OtherFocusReason);
}

void TForm_About::ReadVersion() {
    const std::optional<gui::ProgramVersion> version =
        versionSource_ ? versionSource_() : std::nullopt;
    StaticText_VerNumb->setText(gui::VersionLine(version));
    major_ = version ? version->Major : 0;
    minor_ = version ? version->Minor : 0;
    release_ = version ? version->Release : 0;
    StaticText_DataRelease->setText(ReleaseDateText(
        programFile_.isEmpty() ? QApplication::applicationFilePath() : programFile_));
}

QString TForm_About::ReleaseDateText(const QString& programFile) {
    const QFileInfo file(programFile);
    const QDateTime written = file.lastModified();
    if (!file.isFile() || !written.isValid()) {
        return {};
    }
    const QDate day = written.toLocalTime().date();
    return QString::asprintf("%02d.%02d.%d", day.day(), day.month(), day.year());
}

void TForm_About::Button1Click() {
    done(kModalResultOk);
}

void TForm_About::reject() {
    done(kModalResultOk);
}

void TForm_About::Label_URLClick() {
    gui::OpenOnDesktop(QUrl(Label_URL->text()));
}

void TForm_About::Label_MailClick() {
    gui::OpenOnDesktop(QUrl("mailto:" + Label_Mail->text()));
}

bool TForm_About::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label_URL) {
            Label_URLClick();
            return true;
        }
        if (watched == Label_Mail) {
            Label_MailClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kt41::dialogs
