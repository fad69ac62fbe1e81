#include "controls/clsOpenSave.h"

#include "controls/DialogProvider.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr QChar kNul = QChar(0);

// The description as written, then Qt's form of the patterns in brackets of their own: the
// dialog matches on the last brackets and, told to hide filter details, shows only what comes
// before them, so "Video files (*.avi; *.mpg)" reads as written and still matches.
QString QtFilter(const QString& description, const QString& patterns)
{
    QStringList parts;
    for (const QString& part : patterns.split(u';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    const QString shown = description.isEmpty() ? parts.join(u' ') : description;
    return shown + QStringLiteral(" (") + parts.join(u' ') + u')';
}

QString WithoutTrailingNuls(QString text)
{
    while (text.endsWith(kNul))
        text.chop(1);
    return text;
}

} // namespace

clsOpenSave::clsOpenSave(std::shared_ptr<DialogProvider> provider)
    : m_provider(provider ? std::move(provider) : std::make_shared<QtDialogProvider>()),
      m_initDir(QDir::rootPath())
{
    m_customColors.fill(0xFFFFFF);
    SetFilter(QStringLiteral("All Files (*.*)|*.*"));
}

clsOpenSave::~clsOpenSave() = default;

void clsOpenSave::SetFilter(const QString& filter)
{
    m_filter = filter;
    m_filter.replace(u'|', kNul);
    for (int i = 0; i < 2; ++i)
        if (!m_filter.endsWith(QString(2, kNul)))
            m_filter.append(kNul);
}

QString clsOpenSave::Filter() const
{
    QString filter = m_filter;
    filter.replace(kNul, u'|');
    for (int i = 0; i < 2; ++i)
        if (filter.endsWith(u'|'))
            filter.chop(1);
    return filter;
}

QStringList clsOpenSave::NameFilters() const
{
    const QStringList parts = m_filter.split(kNul);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty() && parts.at(i + 1).isEmpty())
            break; // the closing pair of NULs
        filters << QtFilter(parts.at(i), parts.at(i + 1));
    }
    return filters;
}

QWidget* clsOpenSave::OwnerOrActiveWindow() const
{
    return m_owner ? m_owner.data() : QApplication::activeWindow();
}

bool clsOpenSave::Show(bool save)
{
    FileDialogRequest request;
    request.save = save;
    request.owner = m_owner;
    request.title = m_dialogTitle;
    request.directory = m_initDir;
    request.fileName = WithoutTrailingNuls(m_filename).trimmed();
    request.nameFilters = NameFilters();
    request.selectedFilter = std::max(0, m_filterIndex - 1);
    request.defaultSuffix = m_defaultExt;
    request.multiple = !save && (m_flags & AllowMultiSelect);
    request.confirmOverwrite = m_flags & OverwritePrompt;
    std::optional<FileDialogAnswer> answer = m_provider->RunFileDialog(request);

    QString chosen;
    if (answer && !answer->files.isEmpty()) {
        if (request.multiple && answer->files.size() > 1) {
            // Several files come back as their folder and then the bare names, NUL-separated.
            const QString folder = QFileInfo(answer->files.first()).absolutePath();
            chosen = folder;
            for (const QString& file : answer->files)
                chosen += kNul + QDir(folder).relativeFilePath(file);
        } else {
            chosen = answer->files.first();
        }
    }
    // A name longer than the buffer the caller allowed fails as the dialog would.
    if (chosen.isEmpty() || chosen.size() > m_maxFileSize) {
        m_canceled = true;
        if (m_cancelError)
            throw DialogCanceledError();
        return false;
    }
    m_filename = chosen;
    const QFileInfo first(answer->files.first());
    m_fileTitle = first.fileName();
    const QString suffix = first.suffix();
    m_fileExt = suffix.isEmpty() ? 0 : int(first.filePath().size() - suffix.size());
    if (!answer->directory.isEmpty())
        m_initDir = answer->directory;
    m_filterIndex = answer->selectedFilter + 1;
    return true;
}

void clsOpenSave::ShowOpen()
{
    Show(false);
}

void clsOpenSave::ShowSave()
{
    Show(true);
}

OleColor clsOpenSave::ShowColor()
{
    QWidget* owner = m_owner;
    QList<QColor> custom;
    for (OleColor c : m_customColors)
        custom << ResolveOleColor(c, QPalette());
    const std::optional<QColor> chosen =
        m_provider->RunColorDialog(owner, ResolveOleColor(m_color, QPalette()), custom);
    for (int i = 0; i < int(m_customColors.size()) && i < custom.size(); ++i)
        m_customColors[i] = ToOleColor(custom.at(i));
    if (chosen)
        m_color = ToOleColor(*chosen);
    return m_color;
}

void clsOpenSave::PrepareConvenience(const QString& initDir, const QString& extension,
                                     const QString& fileTypeName)
{
    if (!initDir.isEmpty())
        m_initDir = initDir;
    else if (m_initDir.isEmpty())
        m_initDir = QCoreApplication::applicationDirPath();
    QString filter = QStringLiteral("All Files (*.*)|*.*");
    QString ext = extension;
    ext.remove(u'.');
    if (!ext.isEmpty()) {
        const QString description = fileTypeName.isEmpty()
                                        ? ext.toUpper() + QStringLiteral(" files (*.") + ext + u')'
                                        : fileTypeName + QStringLiteral(" (*.") + ext + u')';
        filter += u'|' + description + QStringLiteral("|*.") + ext;
        m_filterIndex = 2;
    }
    SetFilter(filter);
    if (!m_owner)
        m_owner = QApplication::activeWindow();
}

QString clsOpenSave::OpenFile(const QString& initDir, const QString& extension,
                              const QString& fileTypeName, int extraFlags, const QString& title)
{
    PrepareConvenience(initDir, extension, fileTypeName);
    m_flags = extraFlags | HideReadOnly;
    m_maxFileSize = 32767;
    m_filename.clear();
    m_dialogTitle = title;
    try {
        if (!Show(false))
            return {};
    } catch (const DialogCanceledError&) {
        return {};
    }
    return WithoutTrailingNuls(m_filename);
}

QMap<int, QString> clsOpenSave::OpenFiles(const QString& initDir, const QString& extension,
                                          const QString& fileTypeName, int extraFlags)
{
    const QString chosen = OpenFile(initDir, extension, fileTypeName,
                                    extraFlags | AllowMultiSelect | Explorer,
                                    QStringLiteral("Open"));
    QMap<int, QString> files;
    if (chosen.isEmpty())
        return files;
    const QStringList parts = chosen.split(kNul);
    if (parts.size() == 1) {
        files.insert(0, parts.first());
        return files;
    }
    const QDir folder(parts.first());
    for (int i = 1; i < parts.size(); ++i)
        files.insert(i, folder.filePath(parts.at(i)));
    return files;
}

QString clsOpenSave::SaveFile(const QString& initDir, const QString& extension,
                              const QString& fileTypeName, int extraFlags, const QString& title,
                              const QString& defaultFilename)
{
    PrepareConvenience(initDir, extension, fileTypeName);
    m_filename = defaultFilename;
    m_dialogTitle = title;
    m_flags = extraFlags < 0 ? 0 : (extraFlags | OverwritePrompt);
    // This dialog's own outcome decides, not the object's sticky Canceled: an object that was
    // cancelled once must still return what the user chooses later.
    try {
        if (!Show(true))
            return {};
    } catch (const DialogCanceledError&) {
        return {};
    }
    return m_filename.section(kNul, 0, 0);
}

QString clsOpenSave::SaveFolder(const QString& title)
{
    const std::optional<QString> chosen = m_provider->RunFolderDialog(OwnerOrActiveWindow(), title);
    if (!chosen)
        return {};
    QString folder = *chosen;
    folder.remove(kNul);
    folder = folder.trimmed();
    if (folder.isEmpty())
        return {};
    if (!folder.endsWith(u'/') && !folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}
