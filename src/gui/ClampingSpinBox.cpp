#include "ClampingSpinBox.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>

namespace kt41::gui {

namespace {

// Text without prefix, suffix and surrounding blanks.
QString Bare(QString text, const QString& prefix, const QString& suffix) {
    if (!prefix.isEmpty() && text.startsWith(prefix)) {
        text.remove(0, prefix.size());
    }
    if (!suffix.isEmpty() && text.endsWith(suffix)) {
        text.chop(suffix.size());
    }
    return text.trimmed();
}

} // namespace

ClampingSpinBox::ClampingSpinBox(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { typed_ = t; });
}

void ClampingSpinBox::stepBy(int steps) {
    typed_.clear();
    QSpinBox::stepBy(steps);
}

QValidator::State ClampingSpinBox::validate(QString& input, int&) const {
    const QString bare = Bare(input, prefix(), suffix());
    if (bare.isEmpty() || bare == "-" || bare == "+") {
        return QValidator::Intermediate;
    }
    static const QRegularExpression integer("^[+-]?\\d{1,9}$");
    if (!integer.match(bare).hasMatch()) {
        return QValidator::Invalid;
    }
    const long long v = bare.toLongLong();
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void ClampingSpinBox::fixup(QString& input) const {
    const QString bare = Bare(input, prefix(), suffix());
    bool ok = false;
    const long long v = bare.toLongLong(&ok);
    if (ok) {
        input =
            prefix() + QString::number(std::clamp<long long>(v, minimum(), maximum())) + suffix();
    }
}

int ClampingSpinBox::ClampedValue() const {
    bool ok = false;
    const QString source = typed_.isEmpty() ? lineEdit()->text() : typed_;
    const long long v = Bare(source, prefix(), suffix()).toLongLong(&ok);
    return ok ? int(std::clamp<long long>(v, minimum(), maximum())) : value();
}

ClampingDoubleSpinBox::ClampingDoubleSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { typed_ = t; });
}

void ClampingDoubleSpinBox::stepBy(int steps) {
    typed_.clear();
    QDoubleSpinBox::stepBy(steps);
}

bool ClampingDoubleSpinBox::ParseText(const QString& text, double& value) const {
    QString bare = Bare(text, prefix(), suffix());
    bare.replace(',', '.');
    static const QRegularExpression number("^[+-]?(\\d+([.]\\d*)?|[.]\\d+)$");
    if (!number.match(bare).hasMatch()) {
        return false;
    }
    value = bare.toDouble();
    return true;
}

QValidator::State ClampingDoubleSpinBox::validate(QString& input, int&) const {
    const QString bare = Bare(input, prefix(), suffix());
    if (bare.isEmpty() || bare == "-" || bare == "+") {
        return QValidator::Intermediate;
    }
    double v = 0;
    if (!ParseText(input, v)) {
        return QValidator::Invalid;
    }
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void ClampingDoubleSpinBox::fixup(QString& input) const {
    double v = 0;
    if (ParseText(input, v)) {
        input = prefix() + locale().toString(std::clamp(v, minimum(), maximum()), 'f', decimals()) +
                suffix();
    }
}

double ClampingDoubleSpinBox::ClampedValue() const {
    double v = 0;
    return ParseText(Source(), v) ? std::clamp(v, minimum(), maximum()) : value();
}

QString ClampingDoubleSpinBox::ClampedText() const {
    // The typed digits themselves when they lie within the limits, so that the
    // stored integer can be derived from the decimal text exactly.
    QString bare = Bare(Source(), prefix(), suffix());
    bare.replace(',', '.');
    double v = 0;
    if (ParseText(Source(), v) && v >= minimum() && v <= maximum()) {
        return bare;
    }
    return QString::number(ClampedValue(), 'f', decimals());
}

} // namespace kt41::gui
