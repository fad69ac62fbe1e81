#include "files/ListFile.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ListFile::ListFile(QObject* parent) : QObject(parent) {}

bool ListFile::IsDriveRootPath(const QString& path) { return path.trimmed() == u"/"; }

void ListFile::SetTo(const QString& file)
{
    m_path = file;
    m_attributes = 0;
    m_size = 0;
    m_dateTime = QDateTime();
    m_dateNA = true;
    if (IsDriveRootPath(file)) {
        m_attributes = Directory | DriveFixed;
        return;
    }
    // One stat call gives everything; QFileInfo would add a time-zone conversion per file,
    // which is most of the cost of listing a large folder.
    struct stat st;
    const QByteArray native = QFile::encodeName(file);
    if (::stat(native.constData(), &st) != 0 && ::lstat(native.constData(), &st) != 0)
        return;
    setFromStat(st);
}

void ListFile::SetTo(int folderFd, const QString& folder, const QString& name)
{
    m_path = folder + name;
    m_attributes = 0;
    m_size = 0;
    m_dateTime = QDateTime();
    m_dateNA = true;
    // Relative to the open folder: the kernel does not walk the whole path for every entry.
    struct stat st;
    const QByteArray native = QFile::encodeName(name);
    if (::fstatat(folderFd, native.constData(), &st, 0) != 0
        && ::fstatat(folderFd, native.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    setFromStat(st);
}

void ListFile::setFromStat(const struct stat& st)
{
    const bool isDir = S_ISDIR(st.st_mode);
    if (isDir)
        m_attributes |= Directory;
    else
        m_size = qint64(st.st_size);
    // The read-only bit is the file's own mode, not whether this user may write it.
    if (!(st.st_mode & S_IWUSR))
        m_attributes |= ReadOnly;
    const QString title = FileTitle();
    if (title.startsWith(u'.') && title != u".." && title != u".")
        m_attributes |= Hidden;
    // Devices, sockets and pipes are what POSIX has in place of system files.
    if (!isDir && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        m_attributes |= System;
    const qint64 ms = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    m_dateTime = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    m_dateNA = false;
}

std::shared_ptr<ListFile> ListFile::Clone() const
{
    auto copy = std::make_shared<ListFile>();
    copy->m_path = m_path;
    copy->m_size = m_size;
    copy->m_dateTime = m_dateTime;
    copy->m_dateNA = m_dateNA;
    copy->m_attributes = m_attributes;
    copy->LinkPath = LinkPath;
    copy->TagDouble = TagDouble;
    return copy;
}

QString ListFile::FileTitle() const
{
    const qsizetype slash = m_path.lastIndexOf(u'/');
    return m_path.mid(slash + 1);
}

QString ListFile::FileTitleNoExt() const
{
    const QString title = FileTitle();
    const qsizetype dot = title.lastIndexOf(u'.');
    return dot < 0 ? title : title.left(dot);
}

QString ListFile::FileExtension() const
{
    const QString title = FileTitle();
    const qsizetype dot = title.lastIndexOf(u'.');
    return dot < 0 ? QString() : title.mid(dot + 1);
}

QString ListFile::ParentOf(const QString& path)
{
    QString p = path.trimmed();
    if (p == u"/")
        return p;
    if (p.endsWith(u'/'))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    // "/home" has the root above it, which is "/" rather than the empty text before the slash.
    return slash == 0 ? QStringLiteral("/") : p.left(slash);
}

QString ListFile::ParentDir() const { return ParentOf(m_path); }

bool ListFile::IsDriveRoot() const { return IsDriveRootPath(m_path); }

bool ListFile::IsDeletable() const
{
    if (IsDriveRoot() || IsDirectory() || IsReadOnly() || m_path.isEmpty())
        return false;
    if (!QFileInfo::exists(m_path) && !QFileInfo(m_path).isSymLink())
        return false;
    const QString folder = ParentDir().isEmpty() ? QStringLiteral(".") : ParentDir();
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString ListFile::AttrString() const
{
    QString s;
    s += IsReadOnly() ? u'r' : u'-';
    s += IsArchive() ? u'a' : u'-';
    s += IsHidden() ? u'h' : u'-';
    s += IsSystem() ? u's' : u'-';
    s += IsDirectory() ? u'd' : u'-';
    if (m_attributes & DriveFixed)
        s += u'1';
    else if (m_attributes & DriveCdRom)
        s += u'2';
    else if (m_attributes & DriveRemovable)
        s += u'3';
    else if (m_attributes & DriveNetwork)
        s += u'4';
    else
        s += u'0';
    return s;
}
