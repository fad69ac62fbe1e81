#include "SrtGenerator.h"

#include <cstdio>

namespace {

void appendStamp(QByteArray& out, long long ms)
{
    char stamp[32];
    const int n = std::snprintf(stamp, sizeof stamp, "%02lld:%02lld:%02lld,%03lld", ms / 3600000,
                                ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    out.append(stamp, n);
}

} // namespace

QByteArray GenerateSrt(int entries)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(entries) * 110);
    for (int i = 0; i < entries; ++i) {
        const long long start = 1000LL + 2500LL * i;
        out += QByteArray::number(i + 1) + "\r\n";
        appendStamp(out, start);
        out += " --> ";
        appendStamp(out, start + 2000);
        out += "\r\n";
        if (i % 5 == 0)
            out += "<i>Where were you on the night of the</i>\r\n<i>fourteenth, Mr. Holloway?</i>\r\n\r\n";
        else
            out += "I was at home, reading the paper,\r\nas I told the constable twice.\r\n\r\n";
    }
    return out;
}
