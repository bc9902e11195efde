#include "gui/AboutWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "BuildInfo.h"
#include "gui/Texts.h"

namespace sorvanta::gui {

TAboutWindow::TAboutWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("このシステムは"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 128));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 20);
    layout->setSpacing(14);

    auto* title = new QLabel(QString::fromUtf8(kMainCaption), this);
    title->setObjectName(QStringLiteral("TitleLabel"));
    QFont titleFont(QStringLiteral("ＭＳ Ｐ明朝"));
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    auto* date = new QLabel(QStringLiteral("H30.2.1"), this);
    date->setObjectName(QStringLiteral("DateLabel"));
    QFont dateFont(QStringLiteral("ＭＳ Ｐ明朝"));
    dateFont.setPointSize(11);
    date->setFont(dateFont);
    date->setAlignment(Qt::AlignCenter);

    // The build, as sorvanta --version names it.
    auto* version = new QLabel(
        QStringLiteral("バージョン %1（コミット %2）")
            .arg(QString::fromUtf8(BuildVersion().data(), qsizetype(BuildVersion().size())),
                 QString::fromUtf8(BuildCommit().data(), qsizetype(BuildCommit().size()))),
        this);
    version->setObjectName(QStringLiteral("VersionLabel"));
    QFont versionFont(QStringLiteral("ＭＳ Ｐゴシック"));
    versionFont.setPointSize(9);
    version->setFont(versionFont);
    version->setAlignment(Qt::AlignCenter);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* ok = new QPushButton(QStringLiteral("O.K"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setFixedWidth(90);
    // The button keeps the ordinary look on the navy ground.
    ok->setPalette(QGuiApplication::palette());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);

    layout->addWidget(title);
    layout->addWidget(date);
    layout->addWidget(version);
    layout->addSpacing(6);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(420, 180)));
}

void TAboutWindow::ShowCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace sorvanta::gui
