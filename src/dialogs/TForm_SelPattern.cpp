#include "TForm_SelPattern.h"

#include "gui/DialogFrame.h"
#include "gui/Prompt.h"
#include "gui/WindowPlacement.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace kt41::dialogs {

namespace {

const QString kTemplatePattern = "*.xltx";
constexpr int kMinimumWidth = 260;
constexpr int kTextMargin = 32; // room beside the longest name (frame, padding)

} // namespace

TForm_SelPattern::TForm_SelPattern(QWidget* parent) : QDialog(parent) {
    setObjectName("Form_SelPattern");
    setWindowTitle("Выбор шаблона");
    gui::SetFixedDialogFrame(*this);
    setModal(true);

    ListBox1 = new QListWidget;
    ListBox1->setObjectName("ListBox1");
    ListBox1->setUniformItemSizes(true);
    ListBox1->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListBox1);

    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm_SelPattern::ListBox1DblClick);
}

int TForm_SelPattern::FillList(const QString& folder) {
    ListBox1->clear();
    // Only names ending in ".xltx" exactly: the file is opened by that name.
    QStringList names =
        QDir(folder).entryList({kTemplatePattern}, QDir::Files | QDir::CaseSensitive, QDir::NoSort);
    for (QString& name : names) {
        name.chop(kTemplatePattern.size() - 1);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded()) < 0;
    });
    const int height = std::max(kItemHeight, ListBox1->fontMetrics().height());
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, ListBox1);
        item->setSizeHint(QSize(0, height));
    }
    if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(0);
    }
    return ListBox1->count();
}

QString TForm_SelPattern::SelectedTemplate() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    return item != nullptr && item->isSelected() ? item->text() : QString();
}

void TForm_SelPattern::FitToList() {
    const int rows = std::max(ListBox1->count(), 1);
    const int itemHeight = std::max(kItemHeight, ListBox1->fontMetrics().height());
    int width = kMinimumWidth;
    for (int i = 0; i < ListBox1->count(); ++i) {
        width =
            std::max(width, ListBox1->fontMetrics().horizontalAdvance(ListBox1->item(i)->text()) +
                                kTextMargin);
    }
    width = std::max(width, gui::TitleBarWidth(windowTitle(), font()));
    int height = rows * itemHeight + 2 * ListBox1->frameWidth();
    // A long list scrolls rather than leave the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        height = std::min(height, screen->availableGeometry().height() * 3 / 4);
    }
    setFixedSize(width, height);
}

std::optional<QString> TForm_SelPattern::ChooseTemplate(const QString& folder) {
    QDir().mkpath(folder);
    if (FillList(folder) == 0) {
        gui::ShowWarningBox(parentWidget(), "Нет ни одного шаблона архива в папке: \n" +
                                                QDir::toNativeSeparators(folder) + "      ");
        return std::nullopt;
    }
    FitToList();
    gui::CenterWindow(*this, parentWidget());
    if (exec() != kModalResultOk) {
        return std::nullopt;
    }
    return SelectedTemplate();
}

void TForm_SelPattern::ListBox1DblClick() {
    done(kModalResultOk);
}

void TForm_SelPattern::reject() {
    done(kModalResultCancel);
}

bool TForm_SelPattern::ListBox1KeyDown(int key) {
    const int last = ListBox1->count() - 1;
    if (last < 0) {
        return false;
    }
    if (key == Qt::Key_Up && ListBox1->currentRow() == 0) {
        ListBox1->setCurrentRow(last);
        return true;
    }
    if (key == Qt::Key_Down && ListBox1->currentRow() == last) {
        ListBox1->setCurrentRow(0);
        return true;
    }
    return false;
}

bool TForm_SelPattern::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            done(kModalResultOk);
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
        return ListBox1KeyDown(key);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kt41::dialogs
