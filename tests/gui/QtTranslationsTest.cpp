#include "support/GuiTest.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

namespace kt41::gui {
namespace {

using testing::GuiTest;

class QtTranslationsTest : public GuiTest {};

// Qt's own file dialog, as the prompt shows it, speaks Russian: the program's
// application object (the one the GUI tests run under) loads Qt's Russian
// texts, which the setup script installs.
TEST_F(QtTranslationsTest, QtsOwnFileDialogSpeaksRussian) {
    QFileDialog dialog(nullptr, "Открыть файл настройки");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "Отмена");
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
    }
    for (const char* english : {"Look in:", "File &name:", "Files of type:"}) {
        EXPECT_FALSE(labels.contains(english)) << labels.join(" | ").toStdString();
    }
}

} // namespace
} // namespace kt41::gui
