#pragma once

#include <QString>

class QFont;
class QWidget;

namespace kt41::gui {

// Gives a dialog of fixed size its window frame: a title bar with the system
// menu and the close button, and neither a minimize nor a maximize button
// (nothing to minimize a modal dialog to, nothing to make larger). Call it
// before the dialog is first shown.
void SetFixedDialogFrame(QWidget& dialog);

// The width at which a title bar shows the caption whole. The window manager
// draws it in a title font of its own, as a rule bold and often larger than
// the window's font, and puts the window icon and its buttons beside it; this
// allows for a font a quarter larger and four such items.
int TitleBarWidth(const QString& caption, const QFont& windowFont);

} // namespace kt41::gui
