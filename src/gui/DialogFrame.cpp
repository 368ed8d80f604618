#include "DialogFrame.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <cmath>

namespace kt41::gui {

namespace {

constexpr double kTitleFontScale = 1.25;
// The window icon (or menu button), minimize, maximize and close: some window
// managers draw the first three even when the window asks for none of them.
constexpr int kTitleBarItems = 4;
constexpr int kItemPadding = 8;
constexpr int kFrameMargins = 16;

} // namespace

void SetFixedDialogFrame(QWidget& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
}

int TitleBarWidth(const QString& caption, const QFont& windowFont) {
    QFont bold(windowFont);
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int text = int(std::ceil(metrics.horizontalAdvance(caption) * kTitleFontScale));
    const int item = metrics.height() + kItemPadding;
    return text + kTitleBarItems * item + kFrameMargins;
}

} // namespace kt41::gui
