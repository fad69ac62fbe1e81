#pragma once

#include "files/ListFile.h"

#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Lists one folder into ListFile entries and offers a few operations on them. The current
// folder always ends in "/". Entries are shared: a caller may keep entries of an earlier listing
// after the next one replaced Files.
class FileMgr : public QObject
{
    Q_OBJECT

public:
    using Entries = QList<std::shared_ptr<ListFile>>;

    explicit FileMgr(QObject* parent = nullptr);

    const QString& CurrentPath() const { return m_path; }
    const Entries& Files() const { return m_files; }
    // Patterns separated by ";" ("*.srt;*.sub"); "*.*" keeps every file. Folders are always kept.
    QString Filter = QStringLiteral("*.*");

    // False when the folder could not be listed; Files and the current folder then stay.
    bool ChangeDir(const QString& path);
    bool CDUp();
    bool Refresh();
    bool IsAtRoot() const { return m_path == u"/"; }

    bool Delete(const std::shared_ptr<ListFile>& file);
    // The new entry, or null when the file could not be renamed. NewTitle is a name, not a path.
    std::shared_ptr<ListFile> Rename(const std::shared_ptr<ListFile>& file, const QString& newTitle);
    // Opens the file as the desktop does; an executable program is started with the parameters.
    bool Run(const std::shared_ptr<ListFile>& file, const QString& parameters = {});
    bool MakeDir(const QString& path);

    QStringList GetFilesStringArray() const;
    static Entries FileCollectionFromArray(const QStringList& paths);

signals:
    void ListError();
    void FileListed(ListFile* file);
    void ListEnd();
    void FileDeleted(ListFile* file);
    void FileChanged(ListFile* oldFile, ListFile* newFile);

private:
    bool list(const QString& folder);
    // None when every file passes.
    std::optional<QList<QRegularExpression>> filterPatterns() const;

    QString m_path;
    Entries m_files;
};
