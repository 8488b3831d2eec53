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
    void clearedIconGoesOutAndComesBackWithTheNextIcon();
    void tipSetWhileHiddenIsSentWhenTheIconIsAdded();
    void tipReachesTheTrayWhole_data();
    void tipReachesTheTrayWhole();
    void sameVisibleValueDoesNothingNotEvenAMark();
    void designModeNeverTouchesTheTrayOnVisible();
    void nonIconPictureIsRefusedInPlainWords();
    void loadIconTakesWhatQtReads_data();
    void loadIconTakesWhatQtReads();
    void defaultsAreLeftOutOfThePropertyBag();
    void readingAddsIconWithItsTipInOneStep();
    void endOfTheControlTakesTheIconOut();
    void controlOutlivingItsServiceLeavesIt();
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

void tst_Lumenpin::clearedIconGoesOutAndComesBackWithTheNextIcon()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayIcon(StdPicture());
    QVERIFY(!f.control.TrayVisible());
    QVERIFY(!f.tray.iconShown());
    QCOMPARE(f.records(Op::Delete).size(), 1);
    // The wish stays: the next icon goes into the tray again, and is saved as visible.
    const QIcon blue = TrayFixture::icon(Qt::blue);
    f.control.setTrayIcon(blue);
    QVERIFY(f.control.TrayVisible());
    QCOMPARE(f.tray.shown().icon.cacheKey(), blue.cacheKey());
    QVERIFY(!f.control.WriteProperties().contains(QStringLiteral("TrayVisible")));
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

void tst_Lumenpin::tipReachesTheTrayWhole_data()
{
    QTest::addColumn<QString>("tip");
    QTest::newRow("70 characters") << QStringLiteral("0123456789").repeated(7);
    QTest::newRow("any script") << QStringLiteral("Привет, мир — 日本語 €");
    QTest::newRow("trailing blanks") << QStringLiteral("Connected   ");
}

void tst_Lumenpin::tipReachesTheTrayWhole()
{
    QFETCH(QString, tip);
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayTip(tip);
    QCOMPARE(f.control.TrayTip(), tip);
    QCOMPARE(f.tray.shown().tip, tip);
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

void tst_Lumenpin::nonIconPictureIsRefusedInPlainWords()
{
    TrayFixture f;
    const QIcon red = TrayFixture::icon(Qt::red);
    f.showIcon(red);
    QPixmap bitmap(16, 16);
    bitmap.fill(Qt::green);
    f.control.setTrayIcon(StdPicture::fromBitmap(bitmap));
    QCOMPARE(f.messages, QStringList{f.control.lastError()});
    QVERIFY(f.control.lastError().contains(QLatin1String("no icon")));
    QCOMPARE(f.control.TrayIcon().cacheKey(), red.cacheKey());
    QVERIFY(f.tray.calls().isEmpty());
}
void tst_Lumenpin::loadIconTakesWhatQtReads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format"); // how the file is written; empty: as `contents`
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error"); // empty: the icon loads
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                           "<rect width='16' height='16' fill='red'/></svg>";
    QTest::newRow("ico") << "red.ico" << QByteArray("ICO") << QByteArray() << QString();
    QTest::newRow("png") << "red.png" << QByteArray("PNG") << QByteArray() << QString();
    QTest::newRow("svg") << "red.svg" << QByteArray() << svg << QString();
    QTest::newRow("missing") << "missing.ico" << QByteArray("none") << QByteArray()
                             << "File not found";
    QTest::newRow("junk") << "junk.ico" << QByteArray() << QByteArray("not a picture")
                          << "Invalid picture";
}

void tst_Lumenpin::loadIconTakesWhatQtReads()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (format.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) > 0);
    } else if (format != "none") {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(path, format.constData()));
    }

    TrayFixture f;
    const QIcon blue = TrayFixture::icon(Qt::blue);
    f.showIcon(blue);
    QCOMPARE(f.control.LoadIcon(path), error.isEmpty());
    QVERIFY(f.messages.isEmpty());
    if (!error.isEmpty()) {
        QVERIFY2(f.control.lastError().contains(error), qPrintable(f.control.lastError()));
        QCOMPARE(f.control.TrayIcon().cacheKey(), blue.cacheKey());
        QVERIFY(f.tray.calls().isEmpty());
        return;
    }
    QVERIFY(f.control.lastError().isEmpty());
    const QImage shown = f.tray.shown().icon.pixmap(16).toImage();
    QCOMPARE(shown.pixelColor(8, 8), QColor(Qt::red));
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

// A host that declares its service after the window parenting the control (the usual order
// in a main()) ends the service first.
void tst_Lumenpin::controlOutlivingItsServiceLeavesIt()
{
    VirtualClock clock;
    auto tray = std::make_unique<RecordingTrayService>();
    Lumenpin control(*tray, &clock);
    control.setTrayIcon(TrayFixture::icon(Qt::red));
    control.setTrayVisible(true);
    tray.reset();
    control.setTrayTip(QStringLiteral("after"));
    control.setTrayIcon(TrayFixture::icon(Qt::blue));
    QVERIFY(control.StartBlink(10));
    clock.advance(30);
    QCOMPARE(control.trayTarget(), Lumenpin::trayStrip({}));
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
    // The events, then the properties' notifications.
    QCOMPARE(signalNames.mid(0, events.size()), events);
    QVERIFY(meta.indexOfMethod("PrepFireEvent(int,int)") >= 0);
}

QTEST_MAIN(tst_Lumenpin)
#include "tst_lumenpin.moc"
