// The thermometer-type window and the prompt window of the calibration, on
// their own: their keys, clicks and texts.
#include "device/Calibration.h"
#include "dialogs/TForm_Dialog.h"
#include "dialogs/TForm_Sel.h"
#include "support/GuiTest.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

namespace kt41::dialogs {
namespace {

using testing::GuiTest;

QStringList ChoiceTexts() {
    QStringList texts;
    for (const std::string& text : device::ThermometerChoiceTexts()) {
        texts << QString::fromStdString(text);
    }
    return texts;
}

class TypeWindowTest : public GuiTest {
protected:
    // Prepared as the calibration does, and shown modally without a loop.
    void Open(int preselected) {
        window.PrepareChoices(ChoiceTexts(), preselected);
        window.open();
    }
    void Key(Qt::Key key) { QTest::keyClick(window.ListBox1, key); }

    TForm_Sel window;
};

TEST_F(TypeWindowTest, ShowsBothChoicesWithTheModelsTypeHighlighted) {
    for (const int type : {0, 1, 2}) {
        Open(type);
        ASSERT_EQ(window.ListBox1->count(), 2);
        EXPECT_EQ(window.ListBox1->item(0)->text(), "        Pt100 W100=1.38");
        EXPECT_EQ(window.ListBox1->item(1)->text(), "        Pt100 W100=1.39        ");
        EXPECT_EQ(window.HighlightedIndex(), type < 2 ? type : -1) << type;
        EXPECT_TRUE(window.ListBox1->font().bold());
        EXPECT_EQ(window.ListBox1->font().pixelSize(), 16);
        // Sized to the second choice: both entries in view, none cut.
        const QFontMetrics metrics(window.ListBox1->font());
        EXPECT_GE(window.ListBox1->viewport()->width(),
                  metrics.horizontalAdvance(window.ListBox1->item(1)->text()));
        EXPECT_GE(window.ListBox1->viewport()->height(), 2 * TForm_Sel::kItemHeight);
        window.reject();
    }
}

TEST_F(TypeWindowTest, UpAndDownWrapRoundAndEnterTakesTheHighlightedEntry) {
    Open(0);
    Key(Qt::Key_Up);
    EXPECT_EQ(window.ListBox1->currentRow(), 1) << "Up on the first goes to the last";
    Key(Qt::Key_Down);
    EXPECT_EQ(window.ListBox1->currentRow(), 0) << "Down on the last goes to the first";
    Key(Qt::Key_Down);
    EXPECT_EQ(window.ListBox1->currentRow(), 1) << "otherwise the list moves as usual";
    EXPECT_TRUE(window.isVisible());
    Key(Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), TForm_Sel::kModalResultOk);
    EXPECT_TRUE(window.Accepted());
    EXPECT_EQ(window.ChosenIndex(), 1);
    EXPECT_EQ(window.LastKey(), Qt::Key_Return);
}

TEST_F(TypeWindowTest, ADoubleClickAcceptsEscAndTheCloseButtonCancel) {
    Open(1);
    const QRect first = window.ListBox1->visualItemRect(window.ListBox1->item(0));
    QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(window.ListBox1->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.Accepted());
    EXPECT_EQ(window.ChosenIndex(), 0);

    Open(1);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), TForm_Sel::kModalResultCancel);
    EXPECT_FALSE(window.Accepted());
    EXPECT_EQ(window.LastKey(), Qt::Key_Escape);

    Open(1);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Accepted());
    EXPECT_EQ(window.result(), TForm_Sel::kModalResultCancel);

    // Nothing highlighted (a type the list does not have): Enter takes nothing.
    Open(2);
    Key(Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Accepted());
}

class PromptWindowTest : public GuiTest {
protected:
    void Open() {
        window.SetLines(device::TermPromptLines(1, 1));
        window.open();
    }
    TForm_Dialog window;
};

TEST_F(PromptWindowTest, ShowsItsLinesAsBoldCentredRichText) {
    Open();
    EXPECT_EQ(window.Lines().size(), 7);
    EXPECT_EQ(window.Lines()[1], "R1 = 92,04 Ом");
    const QString markup = window.AdvPanel2->text();
    EXPECT_EQ(window.AdvPanel2->textFormat(), Qt::RichText);
    EXPECT_TRUE(markup.contains("align=\"center\""));
    EXPECT_TRUE(markup.contains("font-weight:bold"));
    EXPECT_TRUE(markup.contains("font-size:9pt"));
    // One break between lines, two where the empty line stands.
    EXPECT_TRUE(markup.contains("R1 = 92,04 Ом<br><br>соответствующее температурам<br>"));
    EXPECT_TRUE(window.AdvPanel2->alignment() & Qt::AlignVCenter);
    EXPECT_TRUE(window.windowFlags() & Qt::Tool);
    // The whole text is in view.
    EXPECT_GE(window.AdvPanel2->width(), window.AdvPanel2->sizeHint().width());
    EXPECT_GE(window.AdvPanel2->height(), window.AdvPanel2->sizeHint().height());
    // Markup characters in a line are shown, not read as markup.
    EXPECT_EQ(TForm_Dialog::Markup({"a < b"}).count("&lt;"), 1);
}

TEST_F(PromptWindowTest, EnterSpaceOrAClickContinueEscCancelsOtherKeysDoNothing) {
    const struct {
        Qt::Key Key;
        int Result; // 0: still open
    } cases[] = {
        {Qt::Key_Return, TForm_Dialog::kModalResultOk},
        {Qt::Key_Enter, TForm_Dialog::kModalResultOk},
        {Qt::Key_Space, TForm_Dialog::kModalResultOk},
        {Qt::Key_Escape, TForm_Dialog::kModalResultCancel},
        {Qt::Key_A, 0},
        {Qt::Key_5, 0},
        {Qt::Key_Tab, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QTest::toString(c.Key));
        Open();
        window.setResult(0);
        QTest::keyClick(&window, c.Key);
        EXPECT_EQ(window.isVisible(), c.Result == 0);
        EXPECT_EQ(window.result(), c.Result);
        window.hide();
    }
    Open();
    QTest::mouseClick(window.AdvPanel2, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), TForm_Dialog::kModalResultOk);
    Open();
    window.close();
    EXPECT_EQ(window.result(), TForm_Dialog::kModalResultCancel);
}

} // namespace
} // namespace kt41::dialogs
