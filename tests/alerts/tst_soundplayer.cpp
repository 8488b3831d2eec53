#include "support/recordingsoundplayer.h"
#include "wavefixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace WaveFixture;

// The checks every backend shares: what counts as a wave, and the fall-back to the default.
class tst_SoundPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void playsWavesAndFallsBackOnEverythingElse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isWave");
        const QByteArray pcm(64, '\x11');
        QTest::newRow("plain wave") << wave(8000, 1, pcm) << true;
        QTest::newRow("odd chunk before format") // the pad byte must be skipped
            << riff(chunk("LIST", "abc") + formatChunk(8000, 1) + chunk("data", pcm)) << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("text named .wav") << QByteArray("not a sound at all, sorry") << false;
        QTest::newRow("RIFF but AVI")
            << QByteArray("RIFF" + le32(100) + "AVI " + chunk("data", pcm)) << false;
        QTest::newRow("header only") << QByteArray("RIFF" + le32(4) + "WAVE") << false;
        QTest::newRow("no format chunk") << riff(chunk("data", pcm)) << false;
        QTest::newRow("data before format")
            << riff(chunk("data", pcm) + formatChunk(8000, 1)) << false;
        QTest::newRow("short format chunk")
            << riff(chunk("fmt ", QByteArray(8, '\1')) + chunk("data", pcm)) << false;
        QTest::newRow("no samples") << riff(formatChunk(8000, 1) + chunk("data", {})) << false;
        QTest::newRow("chunk runs past the end")
            << riff(formatChunk(8000, 1) + chunk("LIST", "ab")).append("junk" + le32(1u << 30))
            << false;
        QTest::newRow("truncated data chunk")
            << riff(formatChunk(8000, 1)).append("data" + le32(64)) << false;
    }

    void playsWavesAndFallsBackOnEverythingElse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isWave);
        QTemporaryDir dir;
        const QString path = write(dir.path(), QStringLiteral("sound.wav"), bytes);
        QVERIFY(!path.isEmpty());
        RecordingSoundPlayer player;
        player.play(path);
        QCOMPARE(player.names(), QStringList{isWave ? path : QStringLiteral("<default>")});
    }

    void missingPathsPlayTheDefault()
    {
        QTemporaryDir dir;
        RecordingSoundPlayer player;
        player.play(QString());
        player.play(dir.filePath(QStringLiteral("gone.wav")));
        player.play(dir.path()); // a folder
        QCOMPARE(player.names(), QStringList(3, QStringLiteral("<default>")));
    }

    void aWaveTheBackendCannotPlayGivesTheDefault()
    {
        QTemporaryDir dir;
        const QString path
            = write(dir.path(), QStringLiteral("a.wav"), wave(8000, 1, QByteArray(64, '\1')));
        RecordingSoundPlayer player;
        player.setRefuseFiles(true);
        player.play(path);
        QCOMPARE(player.names(), QStringList{QStringLiteral("<default>")});
    }
};

QTEST_GUILESS_MAIN(tst_SoundPlayer)
#include "tst_soundplayer.moc"
