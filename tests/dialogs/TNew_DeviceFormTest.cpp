#include "dialogs/TNew_DeviceForm.h"
#include "support/GuiTest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kt41::dialogs {
namespace {

using testing::GuiTest;

class AddressDialogTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        dialog.open(); // modal, without a loop of its own
    }
    // Types into the field over its whole content, as after opening.
    void Type(const QString& keys) {
        dialog.MaskEdit1->selectAll();
        QTest::keyClicks(dialog.MaskEdit1, keys);
    }

    TNew_DeviceForm dialog;
};

TEST_F(AddressDialogTest, AcceptsOneTo238AndNamesWhatItRefuses) {
    const struct {
        const char* Typed;
        bool Accepted;
        int Address;
    } cases[] = {
        {"1", true, 1},  {"01", true, 1},   {"238", true, 238}, {"001", true, 1},
        {"0", false, 0}, {"000", false, 0}, {"239", false, 0},  {"999", false, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Typed);
        dialog.open();
        dialog.setResult(0);
        Prompt.Clear();
        Type(row.Typed);
        ASSERT_EQ(dialog.EntryText(), row.Typed);
        dialog.Button1->click();
        if (row.Accepted) {
            EXPECT_EQ(dialog.result(), TNew_DeviceForm::kModalResultYes);
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(dialog.Address(), row.Address);
            EXPECT_TRUE(Prompt.History.empty());
        } else {
            EXPECT_TRUE(dialog.isVisible());
            ASSERT_EQ(Prompt.Messages().size(), 1u);
            const gui::MessageRequest box = Prompt.Messages()[0];
            EXPECT_EQ(box.Text,
                      QString("Сетевой адрес прибора не может быть ") + row.Typed + " !  ");
            EXPECT_EQ(box.Caption, "Ошибка");
            EXPECT_EQ(box.Icon, gui::PromptIcon::Warning);
            EXPECT_TRUE(box.Topmost);
        }
    }
}

TEST_F(AddressDialogTest, AnEmptyFieldAsksForTheAddress) {
    dialog.MaskEdit1->clear();
    EXPECT_EQ(dialog.MaskEdit1->displayText(), "___");
    dialog.Button1->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Не задан сетевой адрес прибора");
    EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка");
    EXPECT_EQ(Prompt.Messages()[0].Icon, gui::PromptIcon::Warning);
}

TEST_F(AddressDialogTest, OnlyDigitsCanBeTyped) {
    Type("a1 -b2.x3");
    EXPECT_EQ(dialog.MaskEdit1->displayText(), "123");
    Type("7z");
    EXPECT_EQ(dialog.MaskEdit1->displayText(), "7__");
    EXPECT_EQ(dialog.EntryText(), "7");
}

TEST_F(AddressDialogTest, ABlankInsideTheEntryIsRefused) {
    Type("152");
    dialog.MaskEdit1->setCursorPosition(1);
    QTest::keyClick(dialog.MaskEdit1, Qt::Key_Delete);
    ASSERT_EQ(dialog.MaskEdit1->displayText(), "1_2");
    dialog.Button1->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Сетевой адрес прибора не может быть 1_2 !  ");
}

TEST_F(AddressDialogTest, EnterMovesOnToEstAndPressesItTheSecondTime) {
    Type("17");
    QTest::keyClick(dialog.MaskEdit1, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter in the field does not accept";
    EXPECT_EQ(dialog.focusWidget(), dialog.Button1);
    QTest::keyClick(dialog.Button1, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TNew_DeviceForm::kModalResultYes);
    EXPECT_EQ(dialog.Address(), 17);

    // The field keeps its text for the next opening, which puts the focus in it.
    dialog.open();
    EXPECT_EQ(dialog.EntryText(), "17");
    EXPECT_EQ(dialog.focusWidget(), dialog.MaskEdit1);
}

TEST_F(AddressDialogTest, EscAndOtmenaCancel) {
    Type("17");
    QTest::keyClick(dialog.MaskEdit1, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TNew_DeviceForm::kModalResultCancel);

    dialog.open();
    dialog.Button2->click();
    EXPECT_EQ(dialog.result(), TNew_DeviceForm::kModalResultCancel);
    dialog.open();
    dialog.reject(); // the close button
    EXPECT_EQ(dialog.result(), TNew_DeviceForm::kModalResultCancel);
    EXPECT_TRUE(Prompt.History.empty());
}

TEST_F(AddressDialogTest, CarriesItsTexts) {
    EXPECT_EQ(dialog.windowTitle(), "Введите адрес прибора");
    EXPECT_EQ(dialog.Label1->text(), "Сетевой адрес прибора");
    EXPECT_EQ(dialog.Button1->text(), "Есть");
    EXPECT_EQ(dialog.Button2->text(), "Отмена");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("MaskEdit1"), dialog.MaskEdit1);
}

} // namespace
} // namespace kt41::dialogs
