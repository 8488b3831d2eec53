#include "alerts/canberrasoundplayer.h"
#include "wavefixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace WaveFixture;

// The real backend, played through ALSA into files: a private ~/.asoundrc routes the default
// device to the "file" plugin (one file per sample rate) over the "null" device, so the test
// hears exactly what libcanberra played, with no sound card and in no real time.
class tst_CanberraSoundPlayer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString output(int rate) const
    {
        return m_home.filePath(QStringLiteral("out-%1.raw").arg(rate));
    }

    QByteArray heard(int rate) const
    {
        QFile file(output(rate));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList outputs() const
    {
        return QDir(m_home.path()).entryList({QStringLiteral("out-*.raw")}, QDir::Files);
    }

    static bool waitUntilQuiet(const CanberraSoundPlayer &player)
    {
        return QTest::qWaitFor([&player] { return !player.isPlaying(); }, 10000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QFile rc(m_home.filePath(QStringLiteral(".asoundrc")));
        QVERIFY(rc.open(QIODevice::WriteOnly));
        rc.write("pcm.!default {\n  type file\n  slave.pcm \"null\"\n  file \""
            + QFile::encodeName(m_home.path()) + "/out-%r.raw\"\n  format \"raw\"\n}\n");
        rc.close();
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("CANBERRA_DRIVER", "alsa");
    }

    void cleanup()
    {
        for (const QString &name : outputs())
            QFile::remove(m_home.filePath(name));
    }

    void playsTheFileAsItIs()
    {
        QByteArray pcm;
        for (int i = 0; i < 4000; ++i)
            pcm += le16(quint16(i * 37));
        const QString path = write(m_home.path(), QStringLiteral("tune.wav"), wave(11025, 1, pcm));
        CanberraSoundPlayer player;
        player.play(path);
        QVERIFY(waitUntilQuiet(player));
        QCOMPARE(outputs(), QStringList{QStringLiteral("out-11025.raw")});
        QCOMPARE(heard(11025), pcm);
    }

    void aNonWaveFilePlaysTheThemeSound()
    {
        const QString path = write(m_home.path(), QStringLiteral("fake.wav"), "ID3 not a wave");
        CanberraSoundPlayer player;
        player.play(path);
        QVERIFY(waitUntilQuiet(player));
        QCOMPARE(outputs().size(), 1);
        QVERIFY(QFileInfo(m_home.filePath(outputs().constFirst())).size() > 0);
    }

    void aWaveLibcanberraRefusesFallsBackToTheThemeSound()
    {
        // 24-bit samples pass our header check but are not played by libcanberra.
        const QByteArray bytes
            = riff(formatChunk(11025, 1, 24) + chunk("data", QByteArray(3000, '\5')));
        const QString path = write(m_home.path(), QStringLiteral("deep.wav"), bytes);
        CanberraSoundPlayer player;
        player.play(path);
        QVERIFY(waitUntilQuiet(player));
        QCOMPARE(outputs().size(), 1);
        QVERIFY(!outputs().contains(QStringLiteral("out-11025.raw")));
    }

    void aNewSoundCutsOffTheOnePlaying()
    {
        // A minute of stereo at 48 kHz takes far longer to write than the next call takes.
        const QByteArray longPcm(48000 * 4 * 60, '\3');
        const QString longPath
            = write(m_home.path(), QStringLiteral("long.wav"), wave(48000, 2, longPcm));
        const QByteArray shortPcm(2000, '\7');
        const QString shortPath
            = write(m_home.path(), QStringLiteral("short.wav"), wave(8000, 1, shortPcm));
        CanberraSoundPlayer player;
        player.play(longPath);
        QVERIFY(player.isPlaying());
        player.play(shortPath);
        QVERIFY(waitUntilQuiet(player));
        QCOMPARE(heard(8000), shortPcm);
        QVERIFY2(QFileInfo(output(48000)).size() < longPcm.size() / 2, "the first sound played on");
    }

    void stopEndsTheSound()
    {
        const QString path = write(m_home.path(), QStringLiteral("long.wav"),
            wave(48000, 2, QByteArray(48000 * 4 * 60, '\3')));
        CanberraSoundPlayer player;
        player.play(path);
        player.stop();
        QVERIFY(!player.isPlaying());
        QVERIFY(QFileInfo(output(48000)).size() < 48000 * 4 * 30);
    }
};

QTEST_GUILESS_MAIN(tst_CanberraSoundPlayer)
#include "tst_canberrasoundplayer.moc"
