#include "gui/JapaneseUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QTreeView>

namespace sorvanta::gui {

namespace {

// First installed family of the candidates; the candidates' own order is the
// preference (proportional faces for the proportional names).
QStringList Installed(const QStringList& candidates) {
    const QStringList families = QFontDatabase::families();
    QStringList found;
    for (const QString& c : candidates) {
        if (families.contains(c, Qt::CaseInsensitive)) found << c;
    }
    return found.isEmpty() ? candidates : found;
}

// Texts of Qt's file dialogs that its Japanese translation lacks (the file
// type column says "Folder" otherwise).
class TFileTypeTranslator : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        if (qstrcmp(sourceText, "Folder") == 0) return QStringLiteral("フォルダー");
        if (qstrcmp(sourceText, "Drive") == 0) return QStringLiteral("ドライブ");
        if (qstrcmp(sourceText, "File") == 0) return QStringLiteral("ファイル");
        if (qstrcmp(sourceText, "%1 File") == 0) return QStringLiteral("%1 ファイル");
        return {};
    }
};

}  // namespace

void UseJapaneseSystemLocale() {
    qputenv("LC_ALL", "ja_JP.UTF-8");
}

void FitFileDialog(QFileDialog& dialog) {
    dialog.resize(860, 480);
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < header->count(); ++c)
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

void InstallFontSubstitutions() {
    const QStringList pMincho = Installed({"IPAPMincho", "IPAMincho", "Noto Serif CJK JP"});
    const QStringList mincho = Installed({"IPAMincho", "IPAPMincho", "Noto Serif CJK JP"});
    const QStringList pGothic = Installed({"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"});
    const QStringList gothic = Installed({"IPAGothic", "IPAPGothic", "Noto Sans CJK JP"});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pMincho);
    QFont::insertSubstitutions(QStringLiteral("MS PMincho"), pMincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("MS Mincho"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pGothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pGothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
}

bool InstallJapaneseUi(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    InstallFontSubstitutions();

    // The window texts are written for a 9 point proportional gothic face.
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    QApplication::setFont(font);

    QApplication::installTranslator(new TFileTypeTranslator(&app));
    auto* translator = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          dir)) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace sorvanta::gui
