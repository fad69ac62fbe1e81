#pragma once
// Lets GoogleTest print Qt strings readably in failure messages; included into every test.
#include <QString>
#include <QStringView>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(QStringView text, std::ostream* out) { PrintTo(text.toString(), out); }
