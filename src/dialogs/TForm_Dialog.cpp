#include "TForm_Dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

constexpr int kPadding = 24;

} // namespace

TForm_Dialog::TForm_Dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form_Dialog");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Калибровка");
    setModal(true);
    AdvPanel2 = new QLabel;
    AdvPanel2->setObjectName("AdvPanel2");
    AdvPanel2->setTextFormat(Qt::RichText);
    AdvPanel2->setAlignment(Qt::AlignCenter); // centred both ways
    AdvPanel2->setFrameShape(QFrame::Panel);
    AdvPanel2->setFrameShadow(QFrame::Raised);
    AdvPanel2->setAutoFillBackground(true);
    AdvPanel2->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(AdvPanel2);
}

QString TForm_Dialog::Markup(const QStringList& lines) {
    QStringList escaped;
    for (const QString& line : lines) {
        escaped << line.toHtmlEscaped();
    }
    return QString("<p align=\"center\" style=\"font-size:%1pt; font-weight:bold;\">%2</p>")
        .arg(kFontPoints)
        .arg(escaped.join("<br>"));
}

void TForm_Dialog::SetLines(const std::vector<std::string>& lines) {
    lines_.clear();
    for (const std::string& line : lines) {
        lines_ << QString::fromStdString(line);
    }
    AdvPanel2->setText(Markup(lines_));
    const QSize text = AdvPanel2->sizeHint();
    const QSize size(text.width() + 2 * kPadding, text.height() + 2 * kPadding);
    setMinimumSize(size);
    resize(size);
}

bool TForm_Dialog::FormKeyPress(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        done(kModalResultOk);
        return true;
    case Qt::Key_Escape:
        done(kModalResultCancel);
        return true;
    default:
        return false;
    }
}

void TForm_Dialog::reject() {
    done(kModalResultCancel);
}

void TForm_Dialog::AdvPanel2Click() {
    done(kModalResultOk);
}

void TForm_Dialog::keyPressEvent(QKeyEvent* event) {
    // Every other key does nothing: QDialog's own handling of Enter and Esc is
    // not wanted beyond what FormKeyPress does.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        FormKeyPress(event->key());
    }
    event->accept();
}

bool TForm_Dialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == AdvPanel2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        AdvPanel2Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kt41::dialogs
