#include "JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

QByteArray JsonValueText(const QJsonValue& value)
{
    // QJsonDocument writes only arrays and objects: a one-element array, brackets taken off.
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

JsonFields& JsonFields::add(const QString& key, const QJsonValue& value)
{
    return addText(key, JsonValueText(value));
}

JsonFields& JsonFields::addText(const QString& key, const QByteArray& json)
{
    m_fields.append({key, json});
    return *this;
}

QByteArray JsonFields::text(bool lineBreaks) const
{
    QByteArray out = "{";
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            out += lineBreaks ? ",\n" : ", ";
        out += JsonValueText(m_fields[i].first) + ": " + m_fields[i].second;
    }
    return out + "}";
}

QByteArray JsonArrayText(const QList<QByteArray>& items, bool lineBreaks)
{
    if (items.isEmpty())
        return "[]";
    const QByteArray separator = lineBreaks ? ",\n  " : ", ";
    return (lineBreaks ? "[\n  " : "[") + items.join(separator) + (lineBreaks ? "\n]" : "]");
}

void PrintJson(const QByteArray& json)
{
    std::fwrite(json.constData(), 1, json.size(), stdout);
    std::fputc('\n', stdout);
}
