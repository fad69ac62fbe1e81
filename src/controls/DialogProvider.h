#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// What a file dialog is asked to show, in Qt's terms.
struct FileDialogRequest
{
    bool save = false;
    QWidget* owner = nullptr;
    QString title;
    QString directory;
    QString fileName;
    QStringList nameFilters; // "Description (*.a *.b)"
    int selectedFilter = 0;  // index into nameFilters
    QString defaultSuffix;
    bool multiple = false;
    bool confirmOverwrite = false;
};

struct FileDialogAnswer
{
    QStringList files; // absolute paths
    int selectedFilter = 0;
    QString directory;
};

// The dialogs the common-dialog wrapper shows. The program uses the Qt dialogs; tests answer
// in their place. Each call returns nothing when the user cancels.
class DialogProvider
{
public:
    virtual ~DialogProvider() = default;
    virtual std::optional<FileDialogAnswer> RunFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> RunColorDialog(QWidget* owner, const QColor& initial,
                                                 QList<QColor>& customColors) = 0;
    virtual std::optional<QString> RunFolderDialog(QWidget* owner, const QString& title) = 0;
};

class QtDialogProvider : public DialogProvider
{
public:
    std::optional<FileDialogAnswer> RunFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> RunColorDialog(QWidget* owner, const QColor& initial,
                                         QList<QColor>& customColors) override;
    std::optional<QString> RunFolderDialog(QWidget* owner, const QString& title) override;
};
