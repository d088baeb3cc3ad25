#include "platform/commondialog.h"

#include "platform/vberror.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace platform {

namespace {

FileDialogHandler *currentHandler = nullptr;

// The real dialog.
class QtFileDialog : public FileDialogHandler {
public:
    std::optional<QString> run(const FileDialogCall &call) override
    {
        QFileDialog dlg(QApplication::activeWindow(), call.dialogTitle);
        dlg.setAcceptMode(call.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (call.save)
            dlg.setFileMode(QFileDialog::AnyFile);
        else
            dlg.setFileMode((call.flags & cdlOFNFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (call.save && !(call.flags & cdlOFNOverwritePrompt))
            dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        const QStringList filters = qtNameFilters(call.filter);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            const int idx = call.filterIndex >= 1 && call.filterIndex <= filters.size() ? call.filterIndex : 1;
            dlg.selectNameFilter(filters[idx - 1]);
        }
        QString dir = call.initDir;
        if (!call.fileName.isEmpty()) {
            const QFileInfo fi(call.fileName);
            if (fi.isAbsolute())
                dir = fi.absolutePath();
        }
        if (!dir.isEmpty() && QDir(dir).exists())
            dlg.setDirectory(dir);
        if (!call.fileName.isEmpty())
            dlg.selectFile(QFileInfo(call.fileName).fileName());
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return std::nullopt;
        lastFilterIndex_ = filters.indexOf(dlg.selectedNameFilter()) + 1;
        return QDir::toNativeSeparators(dlg.selectedFiles().first());
    }
    int lastFilterIndex_ = 0;
};

} // namespace

QStringList qtNameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // Patterns are separated by ";"; "*.*" means every file.
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        // The dialog reads the patterns from the last parentheses of each
        // filter, so a description that already shows them in parentheses
        // loses that copy.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

void CommonDialog::ShowOpen() { show(false); }
void CommonDialog::ShowSave() { show(true); }

void CommonDialog::show(bool save)
{
    FileDialogCall call;
    call.save = save;
    call.filter = Filter;
    call.filterIndex = FilterIndex;
    call.flags = Flags;
    call.cancelError = CancelError;
    call.initDir = InitDir;
    call.fileName = FileName;
    call.dialogTitle = DialogTitle;

    std::optional<QString> chosen;
    if (currentHandler) {
        chosen = currentHandler->run(call);
    } else {
        QtFileDialog real;
        chosen = real.run(call);
        if (chosen && real.lastFilterIndex_ > 0)
            FilterIndex = real.lastFilterIndex_;
    }
    if (!chosen) {
        FileName.clear();
        if (CancelError)
            throw VbError(vberr::CancelError, QStringLiteral("Cancel was selected."));
        return;
    }
    FileName = *chosen;
}

void setFileDialogHandler(FileDialogHandler *handler) { currentHandler = handler; }
FileDialogHandler *fileDialogHandler() { return currentHandler; }

ScriptedFileDialog::ScriptedFileDialog() : previous_(currentHandler) { currentHandler = this; }

ScriptedFileDialog::~ScriptedFileDialog()
{
    if (currentHandler == this)
        currentHandler = previous_;
}

std::optional<QString> ScriptedFileDialog::run(const FileDialogCall &call)
{
    shown.append(call);
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

} // namespace platform
