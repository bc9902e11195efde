#include "gui/OutputMessages.h"

#include <QDir>
#include <QFileInfo>

#include "gui/Texts.h"
#include "run/AppState.h"

namespace sorvanta::gui {

QString CoreMessageText(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

bool AskYesNo(QWidget* parent, QMessageBox::Icon icon, const QString& text,
              const QString& objectName, QMessageBox::StandardButton defaultButton,
              std::optional<QPoint> position) {
    QMessageBox box(
        icon, QString::fromUtf8(icon == QMessageBox::Question ? kQuestionTitle : kApplicationTitle),
        text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(objectName);
    box.setDefaultButton(defaultButton);
    if (position) box.move(*position);
    return box.exec() == QMessageBox::Yes;
}

TAnswer AskYesNoCancel(QWidget* parent, const QString& text, const QString& objectName) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kQuestionTitle), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setObjectName(objectName);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return TAnswer::Yes;
        case QMessageBox::No:
            return TAnswer::No;
        default:
            return TAnswer::Cancel;
    }
}

void Inform(QWidget* parent, const QString& text, const QString& objectName) {
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    box.exec();
}

void Warn(QWidget* parent, const QString& text, const QString& objectName) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    box.exec();
}

void ReportOutputError(QWidget* parent, const QString& text) {
    Warn(parent, text, QStringLiteral("OutputError"));
}

bool ResultsReadyForOutput(QWidget* parent, const TAppState& context, TOutputSource source) {
    TResultsState state = ResultsState(context);
    if (source == TOutputSource::Arbitrary && state == TResultsState::Current)
        state = ArbitraryState(context);
    switch (state) {
        case TResultsState::Current:
            return true;
        case TResultsState::None:
            Inform(parent, QString::fromUtf8(kNoResultsText), QStringLiteral("NoResults"));
            return false;
        case TResultsState::Changed:
            Inform(parent, QString::fromUtf8(kResultsChangedText),
                   QStringLiteral("ResultsChanged"));
            return false;
    }
    return false;
}

bool ConfirmReplace(QWidget* parent, const QStringList& names) {
    QStringList existing;
    for (const QString& name : names) {
        if (QFileInfo::exists(QDir::current().absoluteFilePath(name))) existing << name;
    }
    if (existing.isEmpty()) return true;
    QString text = QString::fromUtf8(kReplaceFilesText);
    for (const QString& name : existing) text += QStringLiteral("\n　") + name;
    return AskYesNo(parent, QMessageBox::Question, text, QStringLiteral("ReplaceQuestion"),
                    QMessageBox::No);
}

}  // namespace sorvanta::gui
