#pragma once

#include <QObject>

class QAction;
class QKeyEvent;
class QWidget;

namespace kt41::gui {

// Makes the shortcuts of a window's actions work under the Russian keyboard
// layout as under the Latin one. With the Russian layout active, Alt+C sends
// Alt+"С", which Qt matches against the menu mnemonics ("&Сервис" owns it)
// rather than the action's Alt+C. Installed on the application, this filter
// sees every key combination with Ctrl or Alt before shortcuts and mnemonics
// are looked up; when a Russian letter's key cap carries the Latin letter of
// an action's shortcut in the focused window, that action runs and nothing
// else sees the key. Latin keys take Qt's own way.
class LayoutShortcuts : public QObject {
    Q_OBJECT
public:
    explicit LayoutShortcuts(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The action of `window` whose shortcut is the event's combination with
    // the Latin key of the same key cap; null when there is none.
    static QAction* ActionFor(const QWidget& window, const QKeyEvent& key);

    // The key press that follows a shortcut override taken here: its
    // receiver, key and modifiers.
    struct Taken {
        QObject* Receiver = nullptr;
        int Key = 0;
        Qt::KeyboardModifiers Modifiers;
    } taken_;
};

} // namespace kt41::gui
