#include "app/CAboutDlg.h"

#include "core/StringTable.h"
#include "core/Version.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

constexpr QSize kPictureSize(360, 200);

void DrawSky(QPainter& p, const QRect& r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(30, 50, 110));
    sky.setColorAt(0.7, QColor(220, 140, 80));
    sky.setColorAt(1.0, QColor(240, 200, 120));
    p.fillRect(r, sky);
}

void DrawHills(QPainter& p, const QRect& r)
{
    QPainterPath far;
    far.moveTo(r.left(), r.bottom());
    far.cubicTo(r.width() * 0.25, r.height() * 0.45, r.width() * 0.5, r.height() * 0.75, r.width() * 0.7,
                r.height() * 0.55);
    far.cubicTo(r.width() * 0.85, r.height() * 0.45, r.width() * 0.95, r.height() * 0.6, r.right(),
                r.height() * 0.58);
    far.lineTo(r.bottomRight());
    far.closeSubpath();
    p.fillPath(far, QColor(70, 60, 90));

    QPainterPath near;
    near.moveTo(r.left(), r.height() * 0.8);
    near.cubicTo(r.width() * 0.3, r.height() * 0.65, r.width() * 0.6, r.height() * 0.95, r.right(),
                 r.height() * 0.75);
    near.lineTo(r.bottomRight());
    near.lineTo(r.bottomLeft());
    near.closeSubpath();
    p.fillPath(near, QColor(35, 70, 45));
}

// A wire-frame grid over the ground, the editor's world view in miniature.
void DrawGrid(QPainter& p, const QRect& r)
{
    p.setPen(QPen(QColor(120, 230, 160, 110), 1));
    const QPointF vanish(r.width() * 0.5, r.height() * 0.62);
    for (int i = -8; i <= 8; ++i)
        p.drawLine(vanish, QPointF(vanish.x() + i * r.width() / 8.0, r.bottom()));
    for (double t = 0.15; t < 1.0; t += 0.2) {
        const double y = vanish.y() + (r.bottom() - vanish.y()) * t * t;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void DrawTitle(QPainter& p, const QRect& r)
{
    const std::string_view title = LoadString(IDS_APP_TITLE);
    QFont font = p.font();
    font.setPixelSize(44);
    font.setBold(true);
    p.setFont(font);
    const QRect box(r.left(), r.top() + 20, r.width(), 60);
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(box.translated(2, 2), Qt::AlignCenter, QString::fromUtf8(title.data(), qsizetype(title.size())));
    p.setPen(QColor(250, 240, 210));
    p.drawText(box, Qt::AlignCenter, QString::fromUtf8(title.data(), qsizetype(title.size())));

    font.setPixelSize(13);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(r.left(), r.top() + 78, r.width(), 20), Qt::AlignCenter,
               QStringLiteral("Редактор миссий Dravo"));
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О Verdax"));
    setModal(true);
    auto* picture = new QLabel(this);
    picture->setPixmap(Picture());
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The version stands on the picture's ground, in its corner; the picture still
    // covers the whole box, and a click on the version closes it as one on the picture.
    auto* version = new QLabel(VersionText(), picture);
    version->setObjectName(QStringLiteral("version"));
    version->setAttribute(Qt::WA_TransparentForMouseEvents);
    version->setStyleSheet(QStringLiteral("color: rgb(250, 240, 210);"));
    version->adjustSize();
    version->move(kPictureSize.width() - version->width() - 10, kPictureSize.height() - version->height() - 8);
}

QString CAboutDlg::VersionText()
{
    return QStringLiteral("Версия ") + QString::fromUtf8(kVerdaxVersion.data(), qsizetype(kVerdaxVersion.size()));
}

QPixmap CAboutDlg::Picture()
{
    QPixmap pixmap(kPictureSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r(QPoint(0, 0), kPictureSize);
    DrawSky(p, r);
    DrawHills(p, r);
    DrawGrid(p, r);
    DrawTitle(p, r);
    return pixmap;
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        done(0);
        return;
    }
    QDialog::mouseReleaseEvent(event);
}
