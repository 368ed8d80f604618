#include "WindowPlacement.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QtEndian>

#include <array>

namespace kt41::gui {

namespace {

std::array<std::int32_t*, 11> Fields(WindowPlacement& p) {
    return {&p.Length, &p.Flags, &p.ShowCmd, &p.MinX,  &p.MinY,  &p.MaxX,
            &p.MaxY,   &p.Left,  &p.Top,     &p.Right, &p.Bottom};
}

QScreen* ScreenFor(const QRect& rect) {
    if (QScreen* screen = QGuiApplication::screenAt(rect.center())) {
        return screen;
    }
    return QGuiApplication::primaryScreen();
}

// Keeps a restored window reachable when the screens have changed since it was
// saved: a rectangle whose centre lies on no screen is moved onto the primary one.
QRect OntoScreen(const QRect& rect) {
    if (QGuiApplication::screenAt(rect.center()) != nullptr) {
        return rect;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return rect;
    }
    const QRect area = screen->availableGeometry();
    QRect moved = rect;
    moved.setSize(rect.size().boundedTo(area.size()));
    moved.moveCenter(area.center());
    return moved;
}

} // namespace

QByteArray WindowPlacement::ToBytes() const {
    QByteArray bytes(kBytes, '\0');
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    WindowPlacement copy = *this;
    for (std::int32_t* field : Fields(copy)) {
        qToLittleEndian<qint32>(*field, out);
        out += 4;
    }
    return bytes;
}

std::optional<WindowPlacement> WindowPlacement::FromBytes(const QByteArray& bytes) {
    if (bytes.size() != kBytes) {
        return std::nullopt;
    }
    WindowPlacement p;
    const auto* in = reinterpret_cast<const uchar*>(bytes.constData());
    for (std::int32_t* field : Fields(p)) {
        *field = qFromLittleEndian<qint32>(in);
        in += 4;
    }
    if (p.Length != kBytes || p.Right <= p.Left || p.Bottom <= p.Top) {
        return std::nullopt;
    }
    return p;
}

WindowPlacement WindowPlacement::Of(const QWidget& window) {
    WindowPlacement p;
    const bool maximized = window.isMaximized();
    const QRect normal = (maximized || window.isFullScreen() || window.isMinimized()) &&
                                 !window.normalGeometry().isEmpty()
                             ? window.normalGeometry()
                             : window.geometry();
    p.Flags = maximized ? kRestoreToMaximized : 0;
    p.ShowCmd = window.isMinimized() ? kShowMinimized : maximized ? kShowMaximized : kShowNormal;
    p.Left = normal.left();
    p.Top = normal.top();
    p.Right = normal.left() + normal.width();
    p.Bottom = normal.top() + normal.height();
    return p;
}

void WindowPlacement::ApplyTo(QWidget& window) const {
    window.setGeometry(OntoScreen(NormalRect()));
    if (ShowCmd == kShowMaximized) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
}

bool RestoreWindowPlacement(QWidget& window, const QString& windowName) {
    auto settings = OpenUserSettings();
    const QVariant value = settings->value(windowName + "/" + key::Form_Options);
    if (!value.isValid()) {
        return false;
    }
    const auto placement = WindowPlacement::FromBytes(value.toByteArray());
    if (!placement) {
        return false;
    }
    placement->ApplyTo(window);
    return true;
}

void SaveWindowPlacement(const QWidget& window, const QString& windowName) {
    WindowPlacement placement = WindowPlacement::Of(window);
    placement.ShowCmd = 0;
    auto settings = OpenUserSettings();
    settings->setValue(windowName + "/" + key::Form_Options, placement.ToBytes());
}

void CenterWindow(QWidget& window, const QWidget* owner) {
    if (!window.isVisible() && window.layout() != nullptr) {
        window.layout()->activate(); // a window not shown yet gets its laid-out size first
    }
    QRect frame = window.frameGeometry();
    if (owner != nullptr && owner->isVisible()) {
        frame.moveCenter(owner->frameGeometry().center());
    } else if (QScreen* screen =
                   ScreenFor(owner != nullptr ? owner->frameGeometry() : window.frameGeometry())) {
        frame.moveCenter(screen->availableGeometry().center());
    }
    window.move(frame.topLeft());
}

} // namespace kt41::gui
