#include "OutputMessages.h"

#include "Texts.h"

namespace sorvanta::gui {

QString CoreMessageText(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

bool AskYesNo(QWidget* parent, QMessageBox::Icon icon, const QString& text,
              const QString& objectName) {
    QMessageBox box(
        icon, QString::fromUtf8(icon == QMessageBox::Question ? kQuestionTitle : kApplicationTitle),
        text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(objectName);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
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

}  // namespace sorvanta::gui
