#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>

// JSON text through QJsonDocument, with the fields of an object in the order they are added:
// QJsonObject sorts its keys, and the output keeps the field order scripts were written against.
class JsonFields
{
public:
    JsonFields& add(const QString& key, const QJsonValue& value);
    // A value that is already JSON text (an ordered object or an array of them).
    JsonFields& addText(const QString& key, const QByteArray& json);
    // {"a": 1, "b": 2}; with one field a line when lineBreaks is set.
    QByteArray text(bool lineBreaks = false) const;

private:
    QList<QPair<QString, QByteArray>> m_fields;
};

// One JSON value as compact text, escaped by QJsonDocument.
QByteArray JsonValueText(const QJsonValue& value);
// [a, b] from items that are JSON text already; with one item a line when lineBreaks is set.
QByteArray JsonArrayText(const QList<QByteArray>& items, bool lineBreaks = false);
// Writes the text and a line break to standard output.
void PrintJson(const QByteArray& json);
