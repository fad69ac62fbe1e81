#pragma once

#include "controls/OleColor.h"

#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <stdexcept>

class DialogProvider;

// Raised by ShowOpen and ShowSave when CancelError is on and the user cancels.
struct DialogCanceledError : std::runtime_error
{
    DialogCanceledError() : std::runtime_error("Cancel was selected") {}
    int Number() const { return 1; }
    QString Source() const { return QStringLiteral("Run-time error"); }
};

// The open, save, colour and folder dialogs behind one object in the manner of a common-dialog
// control: set the properties, show, read the outcome back from the properties.
class clsOpenSave
{
public:
    // Dialog flags in their classic encoding; the ones Qt has an equivalent for take effect.
    enum Flags : int {
        ReadOnly = 0x1,
        OverwritePrompt = 0x2,
        HideReadOnly = 0x4,
        AllowMultiSelect = 0x200,
        Explorer = 0x80000,
    };

    explicit clsOpenSave(std::shared_ptr<DialogProvider> provider = nullptr);
    ~clsOpenSave();

    QString Filter() const;
    void SetFilter(const QString& filter);
    int FilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int index) { m_filterIndex = index; }
    QString Filename() const { return m_filename; }
    void SetFilename(const QString& name) { m_filename = name; }
    QString FileTitle() const { return m_fileTitle; }
    void SetFileTitle(const QString& title) { m_fileTitle = title; }
    int FileExt() const { return m_fileExt; }
    QString InitDir() const { return m_initDir; }
    void SetInitDir(const QString& dir) { m_initDir = dir; }
    QString DialogTitle() const { return m_dialogTitle; }
    void SetDialogTitle(const QString& title) { m_dialogTitle = title; }
    QString DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString& ext) { m_defaultExt = ext; }
    int flags() const { return m_flags; }
    void Setflags(int value) { m_flags = value; }
    int MaxFileSize() const { return m_maxFileSize; }
    void SetMaxFileSize(int size) { m_maxFileSize = size; }
    QWidget* hWnd() const { return m_owner; }
    void SethWnd(QWidget* owner) { m_owner = owner; }
    bool CancelError() const { return m_cancelError; }
    void SetCancelError(bool on) { m_cancelError = on; }
    // True once any dialog of this object was cancelled; nothing sets it back.
    bool Canceled() const { return m_canceled; }
    OleColor Color() const { return m_color; }
    void SetColor(OleColor color) { m_color = color; }
    const std::array<OleColor, 16>& CustomColors() const { return m_customColors; }

    void ShowOpen();
    void ShowSave();
    OleColor ShowColor();

    QString OpenFile(const QString& initDir = {}, const QString& extension = {},
                     const QString& fileTypeName = {}, int extraFlags = 0,
                     const QString& title = {});
    // One file chosen: a single entry at index 0. Several: entries 1 to n, each the folder
    // joined with a name. Cancelled: empty.
    QMap<int, QString> OpenFiles(const QString& initDir = {}, const QString& extension = {},
                                 const QString& fileTypeName = {}, int extraFlags = 0);
    QString SaveFile(const QString& initDir = {}, const QString& extension = {},
                     const QString& fileTypeName = {}, int extraFlags = 0,
                     const QString& title = {}, const QString& defaultFilename = {});
    // The chosen folder, always ending in a separator; "" when cancelled.
    QString SaveFolder(const QString& title = {});

    // Qt's form of the filter pairs, the description kept as written and the patterns in
    // brackets after it: "Video files (*.avi; *.mpg) (*.avi *.mpg)".
    QStringList NameFilters() const;

private:
    bool Show(bool save);
    void PrepareConvenience(const QString& initDir, const QString& extension,
                            const QString& fileTypeName);
    QWidget* OwnerOrActiveWindow() const;

    std::shared_ptr<DialogProvider> m_provider;
    QString m_filter;
    int m_filterIndex = 1;
    QString m_filename, m_fileTitle;
    int m_fileExt = 0;
    QString m_initDir;
    QString m_dialogTitle, m_defaultExt;
    int m_flags = 0;
    int m_maxFileSize = 260;
    QPointer<QWidget> m_owner;
    bool m_cancelError = false;
    bool m_canceled = false;
    OleColor m_color = 0;
    std::array<OleColor, 16> m_customColors;
};
