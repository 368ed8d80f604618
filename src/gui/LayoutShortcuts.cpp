#include "LayoutShortcuts.h"

#include "KeyboardLayouts.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace kt41::gui {

LayoutShortcuts::LayoutShortcuts(QObject* parent) : QObject(parent) {}

QAction* LayoutShortcuts::ActionFor(const QWidget& window, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers =
        key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        return nullptr; // typing, not a shortcut
    }
    const auto latin = LatinKeyOfRussianLetter(key.key());
    if (!latin) {
        return nullptr;
    }
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(*latin)));
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->shortcuts().contains(pressed)) {
            return action;
        }
    }
    return nullptr;
}

bool LayoutShortcuts::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        QAction* action = widget != nullptr ? ActionFor(*widget->window(), *key) : nullptr;
        if (action == nullptr) {
            return false;
        }
        // Taken: no shortcut or mnemonic is looked up for this key, and the
        // key press that follows reaches no widget.
        key->accept();
        taken_ = {watched, key->key(), key->modifiers()};
        if (action->isEnabled()) {
            action->trigger();
        }
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (taken_.Receiver == nullptr || watched != taken_.Receiver) {
            return false;
        }
        const bool same = key->key() == taken_.Key && key->modifiers() == taken_.Modifiers;
        taken_ = {};
        return same;
    }
    default:
        return false;
    }
}

} // namespace kt41::gui
