#include "files/FileMgr.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <dirent.h>

#include <algorithm>

namespace {

QString AsFolder(QString path)
{
    path = path.trimmed();
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

// The names in a folder, or nothing when it cannot be read at all (missing, no permission).
// The folder stays open for the caller's look-ups relative to it.
struct OpenFolder
{
    DIR* dir = nullptr;
    QStringList names;
    ~OpenFolder()
    {
        if (dir)
            ::closedir(dir);
    }
};

bool ReadFolder(const QString& folder, OpenFolder& out)
{
    out.dir = ::opendir(QFile::encodeName(folder).constData());
    if (!out.dir)
        return false;
    while (const dirent* entry = ::readdir(out.dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != u"." && name != u"..")
            out.names.append(name);
    }
    return true;
}

} // namespace

FileMgr::FileMgr(QObject* parent) : QObject(parent) {}

std::optional<QList<QRegularExpression>> FileMgr::filterPatterns() const
{
    const QString filter = Filter.trimmed();
    if (filter == u"*.*" || filter.isEmpty())
        return std::nullopt;
    QList<QRegularExpression> patterns;
    for (const QString& pattern : filter.split(u';', Qt::SkipEmptyParts)) {
        patterns.append(QRegularExpression(
            QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
            QRegularExpression::CaseInsensitiveOption));
    }
    return patterns;
}

bool FileMgr::list(const QString& folder)
{
    OpenFolder open;
    if (!ReadFolder(folder, open)) {
        emit ListError();
        return false;
    }
    // Readdir's order is the file system's; people expect names in alphabetical order.
    // Folded once, so the sort compares plain strings.
    std::vector<std::pair<QString, QString>> sorted;
    sorted.reserve(size_t(open.names.size()));
    for (QString& name : open.names)
        sorted.emplace_back(name.toCaseFolded(), std::move(name));
    std::sort(sorted.begin(), sorted.end());

    const auto patterns = filterPatterns();
    const auto passes = [&](const QString& name) {
        return !patterns || std::any_of(patterns->begin(), patterns->end(),
                                        [&](const auto& re) { return re.match(name).hasMatch(); });
    };
    Entries files;
    files.reserve(open.names.size() + 1);
    const int fd = ::dirfd(open.dir);
    const auto add = [&](const QString& name) {
        auto entry = std::make_shared<ListFile>();
        entry->SetTo(fd, folder, name);
        if (!entry->IsDirectory() && entry->FileTitle() != u".." && !passes(entry->FileTitle()))
            return;
        files.append(entry);
        emit FileListed(entry.get());
    };
    if (!ListFile::IsDriveRootPath(folder))
        add(QStringLiteral(".."));
    for (const auto& [folded, name] : sorted)
        add(name);
    m_files = std::move(files);
    m_path = folder;
    emit ListEnd();
    return true;
}

bool FileMgr::ChangeDir(const QString& path) { return list(AsFolder(path)); }

bool FileMgr::CDUp() { return ChangeDir(ListFile::ParentOf(m_path)); }

bool FileMgr::Refresh() { return m_path.isEmpty() ? false : list(m_path); }

bool FileMgr::Delete(const std::shared_ptr<ListFile>& file)
{
    if (!file || !file->IsDeletable() || !QFile::remove(file->Path()))
        return false;
    m_files.removeAll(file);
    emit FileDeleted(file.get());
    return true;
}

std::shared_ptr<ListFile> FileMgr::Rename(const std::shared_ptr<ListFile>& file,
                                          const QString& newTitle)
{
    if (!file || newTitle.isEmpty() || newTitle.contains(u'/') || newTitle == u"."
        || newTitle == u"..")
        return nullptr;
    QString folder = file->ParentDir();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const QString target = folder + newTitle;
    // rename(2) would silently replace an existing file of that name; Windows refuses, so do we.
    if (QFileInfo::exists(target) || !QDir().rename(file->Path(), target))
        return nullptr;
    auto renamed = std::make_shared<ListFile>();
    renamed->SetTo(target);
    const qsizetype at = m_files.indexOf(file);
    if (at >= 0)
        m_files[at] = renamed;
    emit FileChanged(file.get(), renamed.get());
    return renamed;
}

bool FileMgr::Run(const std::shared_ptr<ListFile>& file, const QString& parameters)
{
    if (!file)
        return false;
    const QFileInfo info(file->Path());
    if (!info.exists())
        return false;
    const QString folder = file->IsDirectory() ? file->Path() : file->ParentDir();
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(file->Path(), QProcess::splitCommand(parameters), folder);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {file->Path()}, folder);
}

bool FileMgr::MakeDir(const QString& path) { return QDir().mkdir(path); }

QStringList FileMgr::GetFilesStringArray() const
{
    QStringList paths;
    paths.reserve(m_files.size());
    for (const auto& file : m_files)
        paths.append(file->Path());
    return paths;
}

FileMgr::Entries FileMgr::FileCollectionFromArray(const QStringList& paths)
{
    Entries files;
    files.reserve(paths.size());
    for (const QString& path : paths) {
        auto entry = std::make_shared<ListFile>();
        entry->SetTo(path);
        files.append(entry);
    }
    return files;
}
