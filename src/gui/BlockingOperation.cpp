#include "BlockingOperation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <exception>

namespace kt41::gui {

namespace {

int depth = 0;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

// Swallows user input while it is installed on the application. A window that
// something opens meanwhile (a message box of a timer's tick, a menu) gets its
// input: what waited in the queue was meant for the windows there were.
class InputDiscarder : public QObject {
public:
    InputDiscarder()
        : modal_(QApplication::activeModalWidget()), popup_(QApplication::activePopupWidget()) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return IsUserInput(event->type()) && QApplication::activeModalWidget() == modal_ &&
               QApplication::activePopupWidget() == popup_;
    }

private:
    const QWidget* modal_;
    const QWidget* popup_;
};

// The window system's queue is read in one pass and what it held is delivered
// in the next, so the queue is emptied in a few passes.
constexpr int kPasses = 3;

void DiscardQueuedInput() {
    auto* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    InputDiscarder discarder;
    application->installEventFilter(&discarder);
    for (int pass = 0; pass < kPasses; ++pass) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    application->removeEventFilter(&discarder);
}

} // namespace

BlockingOperation::BlockingOperation() : exceptionsAtStart_(std::uncaught_exceptions()) {
    ++depth;
}

BlockingOperation::~BlockingOperation() {
    // An operation left by an exception runs no events on its way out; the
    // handler that catches it is the next to let them run.
    if (--depth == 0 && std::uncaught_exceptions() == exceptionsAtStart_) {
        DiscardQueuedInput();
    }
}

} // namespace kt41::gui
