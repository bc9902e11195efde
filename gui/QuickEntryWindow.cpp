#include "gui/QuickEntryWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "text/Conversion.h"
#include "views/CoordinateEntry.h"

namespace sorvanta::gui {

namespace {

// The picture of a slope with the three quantities marked.
class TSlopePicture : public QWidget {
  public:
    explicit TSlopePicture(QWidget* parent) : QWidget(parent) { setFixedSize(220, 110); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::gray));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        const QPointF toe(70, 85), crest(140, 35);
        QPolygonF ground;
        ground << QPointF(8, 85) << toe << crest << QPointF(212, 35) << QPointF(212, 102)
               << QPointF(8, 102);
        p.setPen(QPen(QColor(120, 90, 40), 1.5));
        p.setBrush(QColor(222, 200, 160));
        p.drawPolygon(ground);
        p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
        p.drawLine(QPointF(crest.x(), crest.y()), QPointF(crest.x(), toe.y()));
        p.drawLine(toe, QPointF(crest.x(), toe.y()));
        p.setPen(Qt::black);
        p.drawText(QRectF(146, 50, 60, 20), Qt::AlignLeft, QStringLiteral("法高"));
        p.drawText(QRectF(72, 86, 70, 16), Qt::AlignCenter, QStringLiteral("1:n"));
        p.drawText(QRectF(10, 66, 60, 16), Qt::AlignLeft, QStringLiteral("標高"));
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(QPointF(toe.x() - 4, toe.y()), QPointF(toe.x() + 4, toe.y()));
        p.drawEllipse(toe, 2.5, 2.5);
    }
};

QComboBox* MakeChoice(QWidget* parent, const QString& name, const QStringList& items,
                      const QString& text, const QString& hint) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setEditText(text);
    box->setToolTip(hint);
    return box;
}

}  // namespace

TQuickEntryWindow::TQuickEntryWindow(TDesignConditions& design, TChartModel& preview,
                                     QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      design_(design),
      preview_(preview) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("地表面簡易入力"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(new TSlopePicture(this), 0, Qt::AlignHCenter);

    auto* inputs = new QGridLayout;
    inputs->setVerticalSpacing(4);
    toe_ = new QLineEdit(QStringLiteral("4.0"), this);
    toe_->setObjectName(QStringLiteral("ToeElevation"));
    toe_->setToolTip(QStringLiteral("法尻標高(m)"));
    toe_->setMaximumWidth(80);
    gradient_ = MakeChoice(this, QStringLiteral("Gradient"),
                           {"0.5", "1.0", "1.2", "1.5", "1.8", "2.0", "3.0"}, QStringLiteral("1.5"),
                           QStringLiteral("法面勾配"));
    height_ =
        MakeChoice(this, QStringLiteral("SlopeHeight"), {"1.0", "2.0", "3.0", "4.0", "5.0", "6.0"},
                   QStringLiteral("1.0"), QStringLiteral("法面高さ(m)"));
    inputs->addWidget(new QLabel(QStringLiteral("標高="), this), 0, 0, Qt::AlignRight);
    inputs->addWidget(toe_, 0, 1);
    inputs->addWidget(new QLabel(QStringLiteral("m"), this), 0, 2);
    inputs->addWidget(new QLabel(QStringLiteral("法勾配=1:"), this), 1, 0, Qt::AlignRight);
    inputs->addWidget(gradient_, 1, 1);
    inputs->addWidget(new QLabel(QStringLiteral("法高="), this), 2, 0, Qt::AlignRight);
    inputs->addWidget(height_, 2, 1);
    inputs->addWidget(new QLabel(QStringLiteral("m"), this), 2, 2);
    inputs->setColumnStretch(3, 1);
    layout->addLayout(inputs);

    auto* buttons = new QHBoxLayout;
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* set = new QPushButton(QStringLiteral("地形設定"), this);
    set->setObjectName(QStringLiteral("SetGroundButton"));
    // Enter confirms, Esc cancels (Qt would otherwise make "取消" the default).
    set->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(set);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(set, &QPushButton::clicked, this, &TQuickEntryWindow::SetGround);
    setFixedSize(sizeHint());
}

void TQuickEntryWindow::Open(QPoint position) {
    move(position);
    show();
    raise();
    activateWindow();
}

void TQuickEntryWindow::SetGround() {
    double y0 = 0, n = 0, h = 0;
    try {
        y0 = StrToFloat(S(toe_->text()));
        n = StrToFloat(S(gradient_->currentText()));
        h = StrToFloat(S(height_->currentText()));
    } catch (const ConversionError& e) {
        Warn(this, CoreMessageText(e.what()), QStringLiteral("SetGroundError"));
        return;
    }
    // The width of the section is taken from the elevation axis, as the
    // window has always done; after start-up both axes run to 70.
    const double xr = EffectiveRange(preview_, TChartAxisId::Left).Max;
    SetSimpleGround(design_, preview_, y0, n, h, xr);
    emit GroundSet();
    hide();
}

}  // namespace sorvanta::gui
