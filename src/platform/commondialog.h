#pragma once
// The common open/save file dialog. Filter holds description|pattern pairs
// ("Data (*.dat)|*.dat|All (*.*)|*.*"); FilterIndex counts from 1. With
// CancelError True a cancel throws VbError(CancelError = 32755); otherwise a
// cancel leaves FileName "". Tests install a scripted handler.

#include <QList>
#include <QStringList>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

enum CommonDialogFlags {
    cdlOFNOverwritePrompt = 0x2,
    cdlOFNHideReadOnly = 0x4,
    cdlOFNNoChangeDir = 0x8,
    cdlOFNPathMustExist = 0x800,
    cdlOFNFileMustExist = 0x1000,
    cdlOFNLongNames = 0x200000,
};

class CommonDialog;

struct FileDialogCall {
    bool save = false;
    QString filter;
    int filterIndex = 1;
    long flags = 0;
    bool cancelError = false;
    QString initDir;
    QString fileName;
    QString dialogTitle;
};

class FileDialogHandler {
public:
    virtual ~FileDialogHandler() = default;
    // Returns the chosen path, or nothing when the user cancels.
    virtual std::optional<QString> run(const FileDialogCall &call) = 0;
};

class CommonDialog {
public:
    QString Filter;
    int FilterIndex = 1;
    long Flags = 0;
    bool CancelError = false;
    QString InitDir;
    QString FileName;
    QString DialogTitle;

    void ShowOpen();
    void ShowSave();

private:
    void show(bool save);
};

// Turns a "description|pattern|..." filter into the dialog's name filters
// ("Data (*.dat)", "All (*)"): patterns separated by ";" become blank
// separated, "*.*" matches every file.
QStringList qtNameFilters(const QString &filter);

void setFileDialogHandler(FileDialogHandler *handler); // nullptr: the real dialog
FileDialogHandler *fileDialogHandler();

// Test double: answers from a queue (a path, or nullopt for cancel) and
// records every dialog shown. With an empty queue it cancels.
class ScriptedFileDialog : public FileDialogHandler {
public:
    ScriptedFileDialog();
    ~ScriptedFileDialog() override;
    std::optional<QString> run(const FileDialogCall &call) override;

    QList<std::optional<QString>> answers;
    QList<FileDialogCall> shown;

private:
    FileDialogHandler *previous_ = nullptr;
};

} // namespace platform
