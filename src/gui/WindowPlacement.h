#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

namespace kt41::gui {

// The stored placement of a window: exactly 44 bytes, eleven little-endian
// 32-bit integers (record length 44, flags, show command, minimized x and y,
// maximized x and y, normal rectangle left, top, right, bottom). The normal
// rectangle is the window's client geometry when neither minimized nor
// maximized; right and bottom lie just outside it.
struct WindowPlacement {
    static constexpr int kBytes = 44;
    static constexpr std::int32_t kShowNormal = 1;
    static constexpr std::int32_t kShowMinimized = 2;
    static constexpr std::int32_t kShowMaximized = 3;
    static constexpr std::int32_t kRestoreToMaximized = 2; // flag

    std::int32_t Length = kBytes;
    std::int32_t Flags = 0;
    std::int32_t ShowCmd = kShowNormal;
    std::int32_t MinX = -1;
    std::int32_t MinY = -1;
    std::int32_t MaxX = -1;
    std::int32_t MaxY = -1;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    QRect NormalRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }

    QByteArray ToBytes() const;
    // Nothing unless bytes is exactly 44 bytes long, its length field says 44
    // and the normal rectangle is not empty.
    static std::optional<WindowPlacement> FromBytes(const QByteArray& bytes);

    static WindowPlacement Of(const QWidget& window);
    // Gives the window the normal rectangle, moved onto a screen when it lies
    // off every screen, and maximizes it when the show command says so.
    void ApplyTo(QWidget& window) const;
};

// "Form_Options" under <settings key>\<windowName>. Restore returns false, and
// leaves the window alone, when the value is missing or not a valid record.
bool RestoreWindowPlacement(QWidget& window, const QString& windowName);
// Writes the window's placement with show command 0 (the subkey is created).
void SaveWindowPlacement(const QWidget& window, const QString& windowName);

// Centres window on owner, or on its screen when owner is null.
void CenterWindow(QWidget& window, const QWidget* owner = nullptr);

} // namespace kt41::gui
