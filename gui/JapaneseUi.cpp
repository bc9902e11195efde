#include "JapaneseUi.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

}  // namespace

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

    auto* translator = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace sorvanta::gui
