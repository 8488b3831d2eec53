#include "monitor/bandmenu/bandmenu.h"
#include "monitor/bandmenu/bandnames.h"
#include "monitor/bandmenu/layoutfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QPixmap solid(QColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return pixmap;
}

// The design layout as JSON, edited by `change`.
QByteArray designWith(const std::function<void(QJsonObject &)> &change)
{
    QJsonObject root = QJsonDocument::fromJson(LayoutFile::encode(designBandLayout())).object();
    change(root);
    return QJsonDocument(root).toJson();
}

void setToolField(QJsonObject &root, int index, const QString &field, const QJsonValue &value)
{
    QJsonArray tools = root[QStringLiteral("tools")].toArray();
    QJsonObject tool = tools[index].toObject();
    tool[field] = value;
    tools[index] = tool;
    root[QStringLiteral("tools")] = tools;
}

} // namespace

class tst_BandLayoutFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSavedLayoutComesBackWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/Brisvane/mulayout.tb"));
        BandMenu saved;
        saved.tool(BandNames::mnuProgram(1))->setCaption(QStringLiteral("/usr/bin/mutt"));
        saved.tool(BandNames::mnuProgram(1))->setPicture(solid(Qt::blue));
        saved.tool(BandNames::mnuProgram(2))->setVisible(false);
        saved.tool(BandNames::mnuConnect)->setEnabled(false);
        saved.tool(BandNames::mnuDisableProgramsApplications)->setChecked(true);
        QVERIFY(saved.saveLayout(path)); // makes the folder too

        BandMenu loaded;
        QCOMPARE(loaded.loadLayout(path), BandMenu::LoadResult::Loaded);
        const BandTool *one = loaded.tool(BandNames::mnuProgram(1));
        QCOMPARE(one->caption(), QStringLiteral("/usr/bin/mutt"));
        QCOMPARE(one->picture().toImage().pixelColor(3, 3), QColor(Qt::blue));
        QVERIFY(!loaded.tool(BandNames::mnuProgram(2))->visible());
        QVERIFY(!loaded.tool(BandNames::mnuConnect)->enabled());
        QVERIFY(loaded.tool(BandNames::mnuDisableProgramsApplications)->checked());
        QVERIFY(loaded.tool(BandNames::mnuProgram(3))->picture().isNull());
        QCOMPARE(LayoutFile::encode(loaded.layout()), LayoutFile::encode(saved.layout()));
    }

    void aLoadReplacesTheBandTree()
    {
        BandLayout small;
        small.tools
            = {{QStringLiteral("mnuOnly"), QStringLiteral("Only"), {}, true, false, true, {}}};
        small.bands = {{QStringLiteral("PopupBandBvane"), QStringLiteral("Bvane"),
            {QStringLiteral("mnuOnly")}}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mulayout.tb"));
        QVERIFY(LayoutFile::write(path, small));
        BandMenu menu;
        QCOMPARE(menu.loadLayout(path), BandMenu::LoadResult::Loaded);
        QCOMPARE(menu.bands().size(), 1);
        QVERIFY(!menu.tool(BandNames::mnuExit));
        QCOMPARE(menu.band(BandNames::PopupBandBvane)->tools().size(), 1);
    }

    void toolsKeepTheirObjectsAcrossALoad()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mulayout.tb"));
        BandMenu menu;
        BandTool *connect = menu.tool(BandNames::mnuConnect);
        connect->setCaption(QStringLiteral("Dial"));
        QVERIFY(menu.saveLayout(path));
        menu.resetToDesignLayout();
        QCOMPARE(connect->caption(), QStringLiteral("Connect"));
        QSignalSpy changed(connect, &BandTool::changed);
        QCOMPARE(menu.loadLayout(path), BandMenu::LoadResult::Loaded);
        QCOMPARE(menu.tool(BandNames::mnuConnect), connect);
        QCOMPARE(connect->caption(), QStringLiteral("Dial"));
        QCOMPARE(changed.count(), 1);
    }

    void aMissingFileLeavesTheLayoutInForce()
    {
        QTemporaryDir dir;
        BandMenu menu;
        menu.tool(BandNames::mnuAbout)->setCaption(QStringLiteral("About Brisvane"));
        QCOMPARE(menu.loadLayout(dir.filePath(QStringLiteral("mulayout.tb"))),
            BandMenu::LoadResult::Missing);
        QCOMPARE(menu.tool(BandNames::mnuAbout)->caption(), QStringLiteral("About Brisvane"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("mulayout.tb"))));
    }

    void aCorruptFileIsIgnoredAndLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = LayoutFile::encode(designBandLayout());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n binary");
        QTest::newRow("cut short") << good.left(good.size() / 2);
        QTest::newRow("another format")
            << designWith([](QJsonObject &r) { r[QStringLiteral("format")] = "toolbar"; });
        QTest::newRow("newer version")
            << designWith([](QJsonObject &r) { r[QStringLiteral("version")] = 2; });
        QTest::newRow("caption not text")
            << designWith([](QJsonObject &r) { setToolField(r, 0, "caption", 7); });
        QTest::newRow("visible not a truth")
            << designWith([](QJsonObject &r) { setToolField(r, 3, "visible", "no"); });
        QTest::newRow("picture not PNG")
            << designWith([](QJsonObject &r) { setToolField(r, 5, "picture", "AAAA"); });
        QTest::newRow("picture not base64")
            << designWith([](QJsonObject &r) { setToolField(r, 5, "picture", "*&^%"); });
        QTest::newRow("tool name twice") << designWith(
            [](QJsonObject &r) { setToolField(r, 1, "name", QStringLiteral("mnuExit")); });
        QTest::newRow("band lists an unknown tool") << designWith(
            [](QJsonObject &r) { setToolField(r, 0, "name", QStringLiteral("mnuRenamed")); });
        QTest::newRow("tool opens an unknown band") << designWith([](QJsonObject &r) {
            setToolField(r, 6, "opens", QStringLiteral("PopupBandNowhere"));
        });
        QTest::newRow("bands open each other") << designWith([](QJsonObject &r) {
            // mnuConnect (in PopupBandConnection) opens the root, which opens Connection.
            QJsonArray tools = r[QStringLiteral("tools")].toArray();
            for (int i = 0; i < tools.size(); ++i) {
                if (tools[i].toObject()[QStringLiteral("name")] == BandNames::mnuConnect)
                    setToolField(r, i, "opens", BandNames::PopupBandBvane);
            }
        });
    }

    void aCorruptFileIsIgnoredAndLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mulayout.tb"));
        writeAll(path, bytes);
        BandMenu menu;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not a layout|cannot be read"));
        QCOMPARE(menu.loadLayout(path), BandMenu::LoadResult::Corrupt);
        QCOMPARE(LayoutFile::encode(menu.layout()), LayoutFile::encode(designBandLayout()));
        QCOMPARE(readAll(path), bytes);
        // The next save does replace it.
        QVERIFY(menu.saveLayout(path));
        QCOMPARE(menu.loadLayout(path), BandMenu::LoadResult::Loaded);
    }

    void aSaveReplacesTheFileInOneStep()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mulayout.tb"));
        BandMenu menu;
        QVERIFY(menu.saveLayout(path));
        menu.tool(BandNames::mnuExit)->setCaption(QStringLiteral("Quit"));
        QVERIFY(menu.saveLayout(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("mulayout.tb")});
        BandMenu other;
        QCOMPARE(other.loadLayout(path), BandMenu::LoadResult::Loaded);
        QCOMPARE(other.tool(BandNames::mnuExit)->caption(), QStringLiteral("Quit"));
        // A folder where the file should be: the save fails and says so.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocked.tb")));
        QVERIFY(!menu.saveLayout(dir.filePath(QStringLiteral("blocked.tb"))));
    }
};

QTEST_MAIN(tst_BandLayoutFile)
#include "tst_bandlayoutfile.moc"
