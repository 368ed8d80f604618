#include "TForm_Sel.h"

#include "gui/DialogFrame.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kt41::dialogs {

TForm_Sel::TForm_Sel(QWidget* parent) : QDialog(parent) {
    setObjectName("Form_Sel");
    gui::SetFixedDialogFrame(*this);
    setModal(true);
    ListBox1 = new QListWidget;
    ListBox1->setObjectName("ListBox1");
    QFont font = ListBox1->font();
    font.setBold(true);
    font.setPixelSize(kFontPixels);
    ListBox1->setFont(font);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListBox1);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
}

void TForm_Sel::PrepareChoices(const QStringList& choices, int preselected) {
    ListBox1->clear();
    for (const QString& choice : choices) {
        auto* item = new QListWidgetItem(choice, ListBox1);
        item->setSizeHint(QSize(0, kItemHeight));
    }
    // Two entries high and as wide as the second entry's text, plus the frame.
    const QFontMetrics metrics(ListBox1->font());
    const QString sizing = choices.value(std::min<int>(1, int(choices.size()) - 1));
    const int frame = 2 * ListBox1->frameWidth();
    const int height = std::max(int(choices.size()), 2) * std::max(kItemHeight, metrics.height());
    setFixedSize(metrics.horizontalAdvance(sizing) + 12 + frame, height + frame + 1);
    if (preselected >= 0 && preselected < ListBox1->count()) {
        ListBox1->setCurrentRow(preselected);
    } else {
        ListBox1->setCurrentRow(-1);
        ListBox1->clearSelection();
    }
}

int TForm_Sel::HighlightedIndex() const {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.front());
}

void TForm_Sel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    accepted_ = false;
    chosen_ = -1;
    lastKey_ = 0;
    ListBox1->setFocus(Qt::OtherFocusReason);
}

bool TForm_Sel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (ListBox1KeyDown(key) || ListBox1KeyPress(key)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm_Sel::ListBox1KeyDown(int key) {
    const int count = ListBox1->count();
    if (count == 0) {
        return false;
    }
    const int current = ListBox1->currentRow();
    if (key == Qt::Key_Up && current == 0) {
        ListBox1->setCurrentRow(count - 1);
        return true;
    }
    if (key == Qt::Key_Down && current == count - 1) {
        ListBox1->setCurrentRow(0);
        return true;
    }
    return false;
}

bool TForm_Sel::ListBox1KeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Accept(key);
        return true;
    }
    if (key == Qt::Key_Escape) {
        lastKey_ = key;
        done(kModalResultCancel);
        return true;
    }
    return false;
}

void TForm_Sel::ListBox1DblClick() {
    Accept(0);
}

void TForm_Sel::Accept(int key) {
    lastKey_ = key;
    chosen_ = HighlightedIndex();
    accepted_ = chosen_ >= 0;
    done(accepted_ ? kModalResultOk : kModalResultCancel);
}

void TForm_Sel::FormClose() {
    // Closing without a prior accept counts as a cancel.
    if (!accepted_) {
        chosen_ = HighlightedIndex();
    }
}

void TForm_Sel::done(int result) {
    if (result != kModalResultOk) {
        accepted_ = false;
    }
    FormClose();
    QDialog::done(accepted_ ? kModalResultOk : kModalResultCancel);
}

} // namespace kt41::dialogs
