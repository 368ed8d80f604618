#include "TForm_Compare.h"

#include "config_file/ConfigComparison.h"
#include "gui/ParamGrid.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

constexpr int kColumns = 4;
const QString kNoDifferences = "Нет различий";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TForm_Compare::TForm_Compare(QWidget* parent) : QDialog(parent) {
    setObjectName("Form_Compare");
    setWindowTitle("Сравнение настройки");
    Label_Source = new QLabel(this);
    Label_Source->setObjectName("Label_Source");
    Label_Summary = new QLabel(this);
    Label_Summary->setObjectName("Label_Summary");
    QFont bold = Label_Summary->font();
    bold.setBold(true);
    Label_Summary->setFont(bold);
    Grid_Compare = new gui::ParamGrid(this);
    Grid_Compare->setObjectName("Grid_Compare");
    Grid_Compare->SetHeadings({"Страница", "Параметр", "На страницах", "В файле"});
    for (int column = 0; column < kColumns; ++column) {
        Grid_Compare->SetColumnReadOnly(column, true);
    }
    Grid_Compare->SetWrappingColumn(1);
    Grid_Compare->setColumnWidth(0, 90);
    Grid_Compare->setColumnWidth(1, 330);
    Grid_Compare->setColumnWidth(2, 130);
    Grid_Compare->setColumnWidth(3, 130);
    Button_Close = new QPushButton("Закрыть", this);
    Button_Close->setObjectName("Button_Close");
    Button_Close->setDefault(true);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_Source);
    layout->addWidget(Label_Summary);
    layout->addWidget(Grid_Compare, 1);
    layout->addLayout(buttons);
    resize(740, 460);
}

void TForm_Compare::ShowComparison(const config_file::TComparison& comparison,
                                   const QString& otherHeading, const QString& source) {
    Grid_Compare->SetCellText(0, 3, otherHeading);
    Label_Source->setText(source);
    const std::size_t settings = comparison.Settings.size();
    Label_Summary->setText(settings == 0 ? kNoDifferences : QString("Различий: %1").arg(settings));
    Grid_Compare->ResetRows();
    const auto add = [this](const config_file::TDifference& d, bool identity) {
        const int row = Grid_Compare->InsertRowBeforeTrailing(
            {Text(d.Page), Text(d.Parameter), Text(d.TextA), Text(d.TextB)});
        if (identity) {
            for (int column = 0; column < kColumns; ++column) {
                if (QTableWidgetItem* item = Grid_Compare->item(row, column)) {
                    item->setForeground(QBrush(Qt::darkGray));
                    item->setToolTip("Данные прибора: запись настройки их не меняет");
                }
            }
        }
    };
    for (const config_file::TDifference& d : comparison.Settings) {
        add(d, false);
    }
    for (const config_file::TDifference& d : comparison.Identity) {
        add(d, true);
    }
    Grid_Compare->RemoveTrailingEmptyRow();
    Grid_Compare->setCurrentItem(nullptr); // no cell looks picked in a table only to read
    Grid_Compare->setVisible(!comparison.Settings.empty() || !comparison.Identity.empty());
}

} // namespace kt41::dialogs
