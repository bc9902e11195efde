#pragma once
// Helpers of the window tests: the application started as a user starts it,
// and a stand-in user who answers the modal dialogs the windows open.

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "gui/JapaneseUi.h"
#include "gui/PdfCommands.h"
#include "gui/SorvantaApp.h"

namespace sorvanta::gui::test {

inline void InstallJapanese() {
    static bool done = false;
    if (!done) {
        InstallJapaneseUi(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        // The user's own settings are neither read nor changed by a test.
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        done = true;
    }
}

// Starts the application as main() does, with the start-up initialisation.
// The settings of an earlier start are forgotten unless `keepSettings`. A PDF
// viewer is never launched: the opener only says it opened the file.
inline std::unique_ptr<TSorvantaApp> StartApp(bool keepSettings = false) {
    InstallJapanese();
    if (!keepSettings) QSettings(QStringLiteral("Sorvanta"), QStringLiteral("Sorvanta")).clear();
    auto app = std::make_unique<TSorvantaApp>();
    app->PdfCommands().SetFileOpener([](const QUrl&) { return true; });
    app->Start();
    QCoreApplication::processEvents();
    return app;
}

// Moves the pointer over a widget. QTest::mouseMove goes through the cursor,
// which the offscreen platform hands to whichever top-level window it finds
// at that place; the windows of this program overlap.
inline void MovePointer(QWidget* widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                      Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Answers every modal dialog that appears while it lives: message boxes with
// the given button (Yes for questions by default, OK otherwise), file dialogs
// with the given file name. Records what it saw.
class TDialogResponder {
  public:
    struct TSeen {
        QString ObjectName;
        QString Text;
        QPoint Position;
        QStringList Buttons;
        QString DefaultButton;  // the button Enter presses
    };

    TDialogResponder() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    bool AnswerYes = true;
    QStringList AnswerNoTo;      // questions (by object name) answered No whatever AnswerYes says
    QStringList AnswerCancelTo;  // questions with a Cancel button (by object name) cancelled
    QString FileName;            // for file dialogs; empty: cancel
    QList<TSeen> Seen;

    [[nodiscard]] QStringList Texts() const {
        QStringList texts;
        for (const auto& s : Seen) texts << s.Text;
        return texts;
    }

  private:
    // The answer is posted rather than given here: answering may open the
    // next dialog (an overwrite question), whose event loop must not run
    // inside this timer's own slot, where the timer cannot fire again.
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || Answered(modal)) return;
        answered_ << QPointer<QWidget>(modal);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            TSeen seen{box->objectName(), box->text(), box->pos(), {}, {}};
            for (QAbstractButton* b : box->buttons()) seen.Buttons << b->text();
            if (box->defaultButton()) seen.DefaultButton = box->defaultButton()->text();
            Seen << seen;
            QAbstractButton* answer = box->button(QMessageBox::Ok);
            if (box->button(QMessageBox::Yes)) {
                const bool yes = AnswerYes && !AnswerNoTo.contains(box->objectName());
                answer = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
            }
            if (box->button(QMessageBox::Cancel) && AnswerCancelTo.contains(box->objectName()))
                answer = box->button(QMessageBox::Cancel);
            if (answer)
                QMetaObject::invokeMethod(answer, &QAbstractButton::click, Qt::QueuedConnection);
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            Seen << TSeen{dialog->objectName(), dialog->windowTitle(), dialog->pos(), {}, {}};
            if (FileName.isEmpty()) {
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            } else {
                dialog->selectFile(FileName);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        }
    }

    // A dialog stays the active modal widget until its answer has been
    // processed; each is answered once. A destroyed one drops out, so a new
    // dialog at the same address counts as new.
    bool Answered(QWidget* w) const {
        for (const auto& p : answered_) {
            if (p && p.data() == w) return true;
        }
        return false;
    }

    QTimer timer_;
    QList<QPointer<QWidget>> answered_;
};

}  // namespace sorvanta::gui::test
