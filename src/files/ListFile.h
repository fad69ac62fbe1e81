#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

struct stat;

// One file, folder or drive root as the file listing reports it: its path parts, size, date and
// attribute bits. "/" is the separator and the root "/" is the drive root. Properties are
// readable by name, so the sorter can rank entries by TagDouble.
class ListFile : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Path READ Path)
    Q_PROPERTY(QString FileTitle READ FileTitle)
    Q_PROPERTY(QString FileTitleNoExt READ FileTitleNoExt)
    Q_PROPERTY(QString FileExtension READ FileExtension)
    Q_PROPERTY(QString ParentDir READ ParentDir)
    Q_PROPERTY(qint64 Size READ Size)
    Q_PROPERTY(QDateTime DateTime READ DateTime)
    Q_PROPERTY(bool DateNA READ DateNA)
    Q_PROPERTY(int Attributes READ Attributes)
    Q_PROPERTY(bool IsDirectory READ IsDirectory)
    Q_PROPERTY(bool IsDriveRoot READ IsDriveRoot)
    Q_PROPERTY(bool IsDeletable READ IsDeletable)
    Q_PROPERTY(bool IsReadOnly READ IsReadOnly)
    Q_PROPERTY(bool IsArchive READ IsArchive)
    Q_PROPERTY(bool IsHidden READ IsHidden)
    Q_PROPERTY(bool IsSystem READ IsSystem)
    Q_PROPERTY(QString AttrString READ AttrString)
    Q_PROPERTY(QString LinkPath MEMBER LinkPath)
    Q_PROPERTY(double TagDouble MEMBER TagDouble)

public:
    enum Attribute : int {
        ReadOnly = 1,
        Hidden = 2,
        System = 4,
        Directory = 16,
        Archive = 32,
        DriveFixed = 64,
        DriveCdRom = 128,
        DriveRemovable = 256,
        DriveNetwork = 512,
    };

    explicit ListFile(QObject* parent = nullptr);

    void SetTo(const QString& file);
    // For the listing: the entry name inside a folder that is open as folderFd.
    void SetTo(int folderFd, const QString& folder, const QString& name);
    std::shared_ptr<ListFile> Clone() const;

    QString Path() const { return m_path; }
    QString FileTitle() const;
    QString FileTitleNoExt() const;
    QString FileExtension() const;
    QString ParentDir() const;
    qint64 Size() const { return m_size; }
    // In UTC.
    QDateTime DateTime() const { return m_dateTime; }
    bool DateNA() const { return m_dateNA; }
    int Attributes() const { return m_attributes; }
    bool IsDirectory() const { return m_attributes & Directory; }
    bool IsDriveRoot() const;
    bool IsDeletable() const;
    bool IsReadOnly() const { return m_attributes & ReadOnly; }
    bool IsArchive() const { return m_attributes & Archive; }
    bool IsHidden() const { return m_attributes & Hidden; }
    bool IsSystem() const { return m_attributes & System; }
    QString AttrString() const;

    // The parent folder of a path, by the same rule as ParentDir.
    static QString ParentOf(const QString& path);
    static bool IsDriveRootPath(const QString& path);

    QString LinkPath;
    double TagDouble = 0.0;

private:
    void setFromStat(const struct stat& st);

    QString m_path;
    qint64 m_size = 0;
    QDateTime m_dateTime;
    bool m_dateNA = true;
    int m_attributes = 0;
};
