#include "gui/DesignFileCommands.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <filesystem>

#include "design/DesignFile.h"
#include "gui/DesignWindow.h"
#include "gui/JapaneseUi.h"
#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "run/AppState.h"

namespace sorvanta::gui {

namespace {

void InformFile(QWidget* parent, const QString& text) {
    Inform(parent, text, QStringLiteral("FileMessage"));
}

void WarnFile(QWidget* parent, const QString& text) {
    Warn(parent, text, QStringLiteral("FileError"));
}

std::filesystem::path ToPath(const QString& file) {
    return std::filesystem::path(file.toStdU16String());
}

}  // namespace

QString ChooseDesignFile(QWidget* parent, bool save) {
    QFileDialog dialog(parent,
                       save ? QStringLiteral("設計条件保存") : QStringLiteral("設計条件読込"),
                       QDir::currentPath(), QStringLiteral("dat (*.dat)"));
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString file = dialog.selectedFiles().front();
    // Later outputs are written to the folder chosen last.
    QDir::setCurrent(QFileInfo(file).absolutePath());
    return file;
}

bool SaveDesignCommand(QWidget* parent, TAppState& context, TDesignWindow& designWindow) {
    const QString file = ChooseDesignFile(parent, true);
    if (file.isEmpty()) return false;
    try {
        SaveDesignFile(ToPath(file), context.Design, context.Options);
    } catch (const std::exception& e) {
        WarnFile(parent, QStringLiteral("設計条件を保存できませんでした。\n") +
                             QString::fromUtf8(e.what()));
        return false;
    }
    context.SavedDesign = context.Design;
    context.SavedOptions = context.Options;
    designWindow.ShowDesignName();
    InformFile(parent, QStringLiteral("設計条件を保存しました。"));
    return true;
}

bool LoadDesignCommand(QWidget* parent, TAppState& context, TDesignWindow& designWindow) {
    if (!ConfirmSaveChanges(parent, context, designWindow)) return false;
    const QString file = ChooseDesignFile(parent, false);
    if (file.isEmpty()) return false;
    const TDesignLoadResult result =
        TryLoadDesignFile(ToPath(file), context.Design, context.Options);
    if (!result) {
        WarnFile(parent, QStringLiteral("設計条件を読込めませんでした。\n") + Q(result.Message));
        return false;
    }
    designWindow.ShowDesignName();
    designWindow.ShowLoadedDesign(result.Axes);
    // After the window's refresh, which normalises the layer count.
    context.SavedDesign = context.Design;
    context.SavedOptions = context.Options;
    InformFile(parent, QStringLiteral("設計条件を読込みました。"));
    return true;
}

bool ConfirmSaveChanges(QWidget* parent, TAppState& context, TDesignWindow& designWindow) {
    if (!DesignModified(context)) return true;
    switch (AskYesNoCancel(parent, QString::fromUtf8(kSaveChangesText),
                           QStringLiteral("SaveChangesQuestion"))) {
        case TAnswer::Yes:
            return SaveDesignCommand(parent, context, designWindow);
        case TAnswer::No:
            return true;
        case TAnswer::Cancel:
            return false;
    }
    return false;
}

}  // namespace sorvanta::gui
