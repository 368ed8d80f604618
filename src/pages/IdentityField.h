#pragma once

#include <QLabel>

namespace kt41::pages {

// A value field of the device page's identity area: a sunken panel with a
// text. It asks for its designed width and gives way, in a narrow window,
// down to the width of the widest text it is to hold, so that the area fits
// the window's minimum size without cutting a value.
class IdentityField : public QLabel {
    Q_OBJECT
public:
    IdentityField(const QString& widestText, Qt::Alignment alignment, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    const QString widest_;
};

} // namespace kt41::pages
