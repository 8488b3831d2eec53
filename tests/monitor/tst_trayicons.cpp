// The tray's status pictures in the icon theme: the controllers' icons go out by theme name
// where the theme has them, and each picture stands out on a dark and on a light panel.
#include "app/lumenpinstatus.h"
#include "clock/virtualclock.h"
#include "shell/apppaths.h"
#include "trayctl/imagelist.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>

namespace {
const QColor kDarkPanel(0x23, 0x26, 0x29); // Breeze Dark's panel
const QColor kLightPanel(0xef, 0xf0, 0xf1); // Breeze's panel

double luminance(const QColor &colour)
{
    const auto linear
        = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
        + 0.0722 * linear(colour.blueF());
}

// The share of the pixels along the picture's outline that a reader tells from the panel
// behind them (a contrast ratio of at least 3:1, the least for a graphical object).
double visibleShare(const QIcon &icon, const QColor &panel)
{
    const QImage picture = icon.pixmap(22, 22).toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shown(picture.size(), QImage::Format_RGB32);
    shown.fill(panel);
    QPainter(&shown).drawImage(0, 0, picture);
    const double behind = luminance(panel);
    const auto drawnAt = [&picture](int x, int y) {
        return picture.rect().contains(x, y) && qAlpha(picture.pixel(x, y)) >= 128;
    };
    // Near the picture's outline: a pixel with the panel within two pixels of it.
    const auto outline = [&drawnAt](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (!drawnAt(x + dx, y + dy))
                    return true;
        return false;
    };
    int drawn = 0, visible = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!drawnAt(x, y) || !outline(x, y))
                continue;
            ++drawn;
            const double front = luminance(QColor(shown.pixel(x, y)));
            const double ratio
                = (std::max(front, behind) + 0.05) / (std::min(front, behind) + 0.05);
            visible += ratio >= 3.0;
        }
    }
    return drawn == 0 ? 0.0 : double(visible) / drawn;
}

const char *const kPictures[][2] = {
    {"net10a.ico", "bvane-connected"},
    {"net10b.ico", "bvane-offline"},
    {"mail.ico", "bvane-mail"},
};
} // namespace

class tst_TrayIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void statusIconsGoByThemeName();
    void picturesStandOutOnEveryPanel_data();
    void picturesStandOutOnEveryPanel();

private:
    QString m_binDir;
};

void tst_TrayIcons::initTestCase()
{
    m_binDir = QCoreApplication::applicationDirPath();
}

// With the theme the build tree holds, each controller icon is the theme's picture by name;
// without it (a theme that lacks the pictures), the program folder's icon as pixmaps.
void tst_TrayIcons::statusIconsGoByThemeName()
{
    VirtualClock clock;
    RecordingTrayService tray;
    Lumenpin control(tray, &clock);
    const ImageList frames({});
    const AppPaths paths(m_binDir, QDir::tempPath());
    LumenpinStatus status(control, frames, paths);

    for (const bool themed : {true, false}) {
        // The build's pictures beside the system's hicolor theme (whose index names the
        // folders), as an installed program has them.
        QStringList search{QStringLiteral("/usr/share/icons")};
        if (themed)
            search.prepend(QDir(m_binDir).filePath(QStringLiteral("icons")));
        QIcon::setThemeSearchPaths(search);
        QIcon::setThemeName(QStringLiteral("hicolor"));
        for (const auto &[file, name] : kPictures) {
            status.showIcon(QString::fromLatin1(file));
            const QIcon shown = control.TrayIcon().icon();
            QCOMPARE(shown.name(), themed ? QString::fromLatin1(name) : QString());
            QVERIFY2(!shown.pixmap(22, 22).isNull(), file);
        }
    }
}

void tst_TrayIcons::picturesStandOutOnEveryPanel_data()
{
    QTest::addColumn<QString>("png");
    for (const auto &[file, name] : kPictures)
        QTest::newRow(name) << QStringLiteral("%1/icons/hicolor/22x22/status/%2.png")
                                   .arg(QCoreApplication::applicationDirPath(),
                                       QString::fromLatin1(name));
}

// A quarter of each picture's outline at least stands out on either panel, so its shape
// shows. The old 16-px line pictures' dark grey frame gave 4 % on a dark panel.
void tst_TrayIcons::picturesStandOutOnEveryPanel()
{
    QFETCH(QString, png);
    const QIcon icon(png);
    QVERIFY2(!icon.pixmap(22, 22).isNull(), qPrintable(png));
    for (const QColor &panel : {kDarkPanel, kLightPanel}) {
        const double share = visibleShare(icon, panel);
        qInfo("%s on %s: %.0f %% stands out", qPrintable(QFileInfo(png).baseName()),
            qPrintable(panel.name()), 100 * share);
        QVERIFY(share >= 0.25);
    }
}

QTEST_MAIN(tst_TrayIcons)
#include "tst_trayicons.moc"
