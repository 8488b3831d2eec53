#include "trayfixture.h"

#include <QImage>
#include <QMetaClassInfo>
#include <QTemporaryDir>
#include <QTest>

using Op = TrayService::Operation;

// The control's properties, the records it hands the tray, persistence and its interface.
class tst_Lumenpin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void visibleWithoutIconStaysHiddenAndAddsNothing();
    void addCarriesTheRecordOfTheControl();
    void clearedIconLeavesVisibleTrueAndOnlyReturnsAfterToggling();
    void tipSetWhileHiddenIsSentWhenTheIconIsAdded();
    void longTipIsCutTo64CharactersOf8BitText();
    void sameVisibleValueDoesNothingNotEvenAMark();
    void designModeNeverTouchesTheTrayOnVisible();
    void nonIconPictureShowsTheMessageAndKeepsTheOldIcon();
    void loadIconTakesIcoFilesAndReportsLoaderErrors();
    void defaultsAreLeftOutOfThePropertyBag();
    void readingAddsIconWithItsTipInOneStep();
    void endOfTheControlTakesTheIconOut();
    void interfaceCarriesItsHelpStringsInOrder();
};

void tst_Lumenpin::visibleWithoutIconStaysHiddenAndAddsNothing()
{
    TrayFixture f;
    QVERIFY(!f.control.TrayVisible()); // a first placement at run time has no icon yet
    f.control.setTrayVisible(true);
    QVERIFY(!f.control.TrayVisible());
    QVERIFY(f.tray.calls().isEmpty());
}

void tst_Lumenpin::addCarriesTheRecordOfTheControl()
{
    TrayFixture f;
    const QIcon red = TrayFixture::icon(Qt::red);
    f.control.setTrayIcon(red);
    f.control.setTrayVisible(true);
    QCOMPARE(f.tray.calls().size(), 1);
    const NotifyRecord add = f.records(Op::Add).value(0);
    QCOMPARE(add.window, f.control.hWnd());
    QCOMPARE(add.iconId, 0);
    QCOMPARE(add.flags, 1 | 2); // no tip flag for an empty tip
    QCOMPARE(add.callbackMessage, 1125);
    QCOMPARE(add.icon.cacheKey(), red.cacheKey());

    f.control.setTrayVisible(false);
    f.control.setTrayTip(QStringLiteral("Brisvane"));
    f.control.setTrayVisible(true);
    QCOMPARE(f.records(Op::Add).value(1).flags, 1 | 2 | 4);
    QCOMPARE(f.records(Op::Delete).value(0).flags, 0);
}

void tst_Lumenpin::clearedIconLeavesVisibleTrueAndOnlyReturnsAfterToggling()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayIcon(StdPicture());
    QVERIFY(f.control.TrayVisible());
    QVERIFY(!f.tray.iconShown());
    QCOMPARE(f.records(Op::Delete).size(), 1);

    f.control.setTrayIcon(TrayFixture::icon(Qt::blue));
    QCOMPARE(f.tray.calls().last().operation, Op::Modify);
    QVERIFY(!f.tray.calls().last().accepted); // the entry is gone
    QVERIFY(!f.tray.iconShown());

    f.control.setTrayVisible(false);
    f.control.setTrayVisible(true);
    QVERIFY(f.tray.iconShown());
}

void tst_Lumenpin::tipSetWhileHiddenIsSentWhenTheIconIsAdded()
{
    TrayFixture f;
    f.control.setTrayIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayTip(QStringLiteral("Not connected"));
    QVERIFY(f.tray.calls().isEmpty());
    QCOMPARE(f.control.TrayTip(), QStringLiteral("Not connected"));
    f.control.setTrayVisible(true);
    QCOMPARE(f.tray.shown().tipText(), QStringLiteral("Not connected"));

    f.control.setTrayTip(QStringLiteral("Connected"));
    QCOMPARE(f.tray.calls().last().operation, Op::Modify);
    QCOMPARE(f.tray.calls().last().record.flags, 4);
    QCOMPARE(f.tray.shown().tipText(), QStringLiteral("Connected"));
}

void tst_Lumenpin::longTipIsCutTo64CharactersOf8BitText()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    const QString seventy = QStringLiteral("0123456789").repeated(7);
    f.control.setTrayTip(seventy);
    QCOMPARE(f.control.TrayTip(), seventy);
    QCOMPARE(f.tray.calls().last().record.tip, seventy.left(64).toLatin1());

    f.control.setTrayTip(QStringLiteral("Café €"));
    const QByteArray field = f.tray.calls().last().record.tip;
    QCOMPARE(field.size(), 64);
    QCOMPARE(field.left(8), QByteArray("Caf\xe9 ?  ")); // Latin-1, blank-padded
}

void tst_Lumenpin::sameVisibleValueDoesNothingNotEvenAMark()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    f.control.clearChangedProperties();
    f.control.setTrayVisible(true);
    QVERIFY(f.tray.calls().isEmpty());
    QVERIFY(f.control.changedProperties().isEmpty());
    f.control.setTrayVisible(false);
    QCOMPARE(f.control.changedProperties(), QStringList{QStringLiteral("TrayVisible")});
}

void tst_Lumenpin::designModeNeverTouchesTheTrayOnVisible()
{
    TrayFixture f;
    f.control.setDesignMode(true);
    f.control.InitProperties();
    QVERIFY(f.control.TrayVisible()); // stored even without an icon
    f.control.setTrayIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayVisible(false);
    f.control.setTrayVisible(true);
    QVERIFY(f.records(Op::Add).isEmpty());
    QVERIFY(f.records(Op::Delete).isEmpty());
    QVERIFY(!f.tray.iconShown());
}

void tst_Lumenpin::nonIconPictureShowsTheMessageAndKeepsTheOldIcon()
{
    TrayFixture f;
    const QIcon red = TrayFixture::icon(Qt::red);
    f.showIcon(red);
    QPixmap bitmap(16, 16);
    bitmap.fill(Qt::green);
    f.control.setTrayIcon(StdPicture::fromBitmap(bitmap));
    QCOMPARE(f.messages,
        QStringList{
            QStringLiteral("The image you have selected is not a valid Windows icon (ICO "
                           "file).\nOnly Windows icons may be placed in the system tray.")});
    QCOMPARE(f.control.TrayIcon().cacheKey(), red.cacheKey());
    QVERIFY(f.tray.calls().isEmpty());
}

void tst_Lumenpin::loadIconTakesIcoFilesAndReportsLoaderErrors()
{
    QTemporaryDir dir;
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const QString ico = dir.filePath(QStringLiteral("red.ico"));
    const QString png = dir.filePath(QStringLiteral("red.png"));
    const QString junk = dir.filePath(QStringLiteral("junk.ico"));
    QVERIFY(image.save(ico, "ICO"));
    QVERIFY(image.save(png, "PNG"));
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
    file.close();

    TrayFixture f;
    QVERIFY(f.control.LoadIcon(ico));
    QVERIFY(f.control.TrayIcon().isIcon());
    const qint64 loaded = f.control.TrayIcon().cacheKey();

    QVERIFY(!f.control.LoadIcon(dir.filePath(QStringLiteral("missing.ico"))));
    QVERIFY(f.control.lastError().contains(QLatin1String("File not found")));
    QVERIFY(!f.control.LoadIcon(junk));
    QVERIFY(f.control.lastError().contains(QLatin1String("Invalid picture")));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.control.TrayIcon().cacheKey(), loaded);

    QVERIFY(f.control.LoadIcon(png)); // a bitmap loads, but the tray takes icons only
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.control.TrayIcon().cacheKey(), loaded);
}

void tst_Lumenpin::defaultsAreLeftOutOfThePropertyBag()
{
    TrayFixture f;
    f.control.setDesignMode(true);
    f.control.InitProperties();
    QVERIFY(f.control.WriteProperties().isEmpty());

    f.control.setTrayIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayTip(QStringLiteral("tip"));
    f.control.setTrayVisible(false);
    const QVariantMap bag = f.control.WriteProperties();
    QCOMPARE(bag.keys(),
        (QStringList{
            QStringLiteral("TrayIcon"), QStringLiteral("TrayTip"), QStringLiteral("TrayVisible")}));
    QCOMPARE(bag.value(QStringLiteral("TrayTip")).toString(), QStringLiteral("tip"));
    QCOMPARE(bag.value(QStringLiteral("TrayVisible")).toBool(), false);
}

void tst_Lumenpin::readingAddsIconWithItsTipInOneStep()
{
    const QIcon red = TrayFixture::icon(Qt::red);
    TrayFixture f;
    f.control.ReadProperties({{QStringLiteral("TrayIcon"), red},
        {QStringLiteral("TrayTip"), QStringLiteral("Not connected")}});
    // Icon, then tip, then visible: the add carries both.
    QCOMPARE(f.tray.calls().size(), 1);
    const NotifyRecord add = f.records(Op::Add).value(0);
    QCOMPARE(add.flags, 1 | 2 | 4);
    QCOMPARE(add.icon.cacheKey(), red.cacheKey());
    QCOMPARE(add.tipText(), QStringLiteral("Not connected"));
    QVERIFY(f.control.TrayVisible());

    TrayFixture hidden;
    hidden.control.ReadProperties(
        {{QStringLiteral("TrayIcon"), red}, {QStringLiteral("TrayVisible"), false}});
    QVERIFY(hidden.tray.calls().isEmpty());
}

void tst_Lumenpin::endOfTheControlTakesTheIconOut()
{
    VirtualClock clock;
    RecordingTrayService tray;
    {
        Lumenpin control(tray, &clock);
        control.setTrayIcon(TrayFixture::icon(Qt::red));
        control.setTrayVisible(true);
        QVERIFY(tray.iconShown());
    }
    QVERIFY(!tray.iconShown());
}

void tst_Lumenpin::interfaceCarriesItsHelpStringsInOrder()
{
    const QMetaObject &meta = Lumenpin::staticMetaObject;
    QStringList names;
    for (int i = meta.classInfoOffset(); i < meta.classInfoCount(); ++i)
        names << QString::fromLatin1(meta.classInfo(i).name());
    const QStringList members{"TrayIcon", "LoadIcon", "TrayTip", "TrayVisible", "TrayShow",
        "TrayHide", "AboutBox", "AddMinimizeWatch", "RemoveMinimizeWatch", "ZoomToTray",
        "ZoomFromTray", "StartAnimation", "StopAnimation", "StartBlink", "StopBlink", "IsAnimating",
        "IsBlinking", "PopupMenu"};
    const QStringList events{"AfterMinimize", "AnyClick", "AnyDblClick", "Click", "DblClick",
        "LeftClick", "LeftDblClick", "MiddleClick", "MiddleDblClick", "MouseDown", "MouseMove",
        "MouseUp", "RightClick", "RightDblClick"};
    QCOMPARE(names.mid(names.indexOf(QStringLiteral("TrayIcon"))), members + events);
    const auto help = [&](const char *name) {
        return QString::fromUtf8(meta.classInfo(meta.indexOfClassInfo(name)).value());
    };
    QCOMPARE(help("IsBlinking"),
        QStringLiteral("Retruns whether or not the icon in the system tray is blinking."));
    QCOMPARE(help("MiddleDblClick"),
        QStringLiteral("Occurs when a user double-clicks on the system "
                       "tray icon with the middle  mouse button or "
                       "mouse wheel."));
    QCOMPARE(help("ClassId"), QStringLiteral("pinlib.Lumenpin"));

    QStringList signalNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == QMetaMethod::Signal)
            signalNames << QString::fromLatin1(meta.method(i).name());
    }
    QCOMPARE(signalNames, events);
    QVERIFY(meta.indexOfMethod("PrepFireEvent(int,int)") >= 0);
}

QTEST_MAIN(tst_Lumenpin)
#include "tst_lumenpin.moc"
