#include "alerts/soundalerts.h"
#include "support/testcontext.h"
#include "wavefixture.h"

#include <QTest>

class tst_SoundAlerts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyAnEnableValueOfExactlyOnePlays_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("plays");
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("absent") << QString() << false;
        QTest::newRow("True") << QStringLiteral("True") << false;
        QTest::newRow("blank around") << QStringLiteral(" 1") << false;
        QTest::newRow("grey state") << QStringLiteral("2") << false;
    }

    void onlyAnEnableValueOfExactlyOnePlays()
    {
        QFETCH(QString, value);
        QFETCH(bool, plays);
        TestContext t;
        if (!value.isNull())
            t.settings().save(Keys::AlertMailArrive, value);
        PlaySoundAlert(t.context(), AlertKind::MailArrive);
        QCOMPARE(t.sounds().played().size(), plays ? 1 : 0);
    }

    void eachKindPlaysItsOwnSound()
    {
        TestContext t;
        QStringList files;
        for (AlertKind kind : SoundAlerts::allKinds) {
            const AlertKeys &keys = SoundAlerts::keys(kind);
            const QString path = WaveFixture::write(
                t.dir(), keys.enabled.section + ".wav", WaveFixture::wave(8000, 1, "\1\2\3\4"));
            t.settings().save(keys.enabled, QStringLiteral("1"));
            t.settings().save(keys.sound, path);
            files << path;
        }
        for (AlertKind kind : SoundAlerts::allKinds) {
            PlaySoundAlert(t.context(), kind);
            t.sounds().finish();
        }
        QCOMPARE(t.sounds().names(), files);
    }

    void tickedWithNoFileEverChosenPlaysTheDefault()
    {
        TestContext t;
        t.settings().save(Keys::AlertMailArrive, QStringLiteral("1"));
        PlaySoundAlert(t.context(), AlertKind::MailArrive);
        t.settings().save(Keys::AlertMailArriveSound, t.dir() + "/deleted-since.wav");
        PlaySoundAlert(t.context(), AlertKind::MailArrive);
        QCOMPARE(t.sounds().names(), QStringList(2, QStringLiteral("<default>")));
    }

    void aNewAlertCutsOffTheOnePlaying()
    {
        TestContext t;
        t.settings().save(Keys::AlertConnected, QStringLiteral("1"));
        t.settings().save(Keys::AlertMailNoArrive, QStringLiteral("1"));
        PlaySoundAlert(t.context(), AlertKind::Connected);
        PlaySoundAlert(t.context(), AlertKind::MailNoArrive);
        QCOMPARE(t.sounds().played().size(), 2);
        QVERIFY(t.sounds().played().at(0).cutOff);
        QVERIFY(t.sounds().isPlaying());
    }
};

QTEST_GUILESS_MAIN(tst_SoundAlerts)
#include "tst_soundalerts.moc"
