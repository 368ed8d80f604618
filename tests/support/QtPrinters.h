#pragma once

// How GoogleTest prints Qt values in failure messages. Without these it dumps
// a QString as raw QChar bytes (which can run past the string).
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *os << (i > 0 ? ", " : "") << '"' << list[i].toStdString() << '"';
    }
    *os << '}';
}
