#pragma once
// Small files written for one test and removed with it.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class TempFiles
{
public:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
