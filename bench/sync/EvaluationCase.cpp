#include "EvaluationCase.h"

#include <QFile>

std::vector<EvaluationCase> ReadManifest(const QString& path, QString& error)
{
    std::vector<EvaluationCase> cases;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return cases;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        if (f.size() < 7) {
            error = QStringLiteral("bad manifest line: ") + line;
            return {};
        }
        cases.push_back({f[0] == u"wrong", f[1], f[2], f[3], f[4].toDouble(), f[5].toDouble(),
                         f[6].toDouble()});
    }
    return cases;
}
