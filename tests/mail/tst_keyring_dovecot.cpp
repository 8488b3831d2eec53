// Passwords in GNOME Keyring (started by in_private_keyring.sh), checks against Dovecot.

#include "alerts/frmpreferences.h"
#include "dovecotserver.h"
#include "mail/ui/slotmailcontrol.h"
#include "settings/passwords.h"
#include "settings/qtkeychainbackend.h"
#include "settings/settingsmodel.h"
#include "support/fakemenutools.h"
#include "support/privatebus.h"
#include "support/testcontext.h"

#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {
// The real keyring, with its reads counted.
class CountingKeyring : public KeyringBackend
{
public:
    explicit CountingKeyring(const QDBusConnection &bus)
        : m_real(bus)
    { }
    void probe(std::function<void(bool)> done) override { m_real.probe(std::move(done)); }
    void read(const QString &name, Done done) override
    {
        ++reads;
        m_real.read(name, std::move(done));
    }
    void write(const QString &name, const QString &value, Done done) override
    {
        m_real.write(name, value, std::move(done));
    }
    void label(const QString &name, const QString &label) override { m_real.label(name, label); }
    int reads = 0;

private:
    QtKeychainBackend m_real;
};
} // namespace

class tst_KeyringDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void passwordMovesToTheKeyringAndTheCheckLogsOnFromIt(); // the file without one
    void aLockedKeyringIsReportedForTheAccount();

private:
    // The passwords get the keyring on `bus` and start; slot 1 is Dovecot's account.
    CountingKeyring *start(
        TestContext &t, const QDBusConnection &bus = QDBusConnection::sessionBus());
    // Slot 1 logs on as a check window has it do; the Error's text, or empty after Done.
    static QString logOn(TestContext &t, SlotMailControl &control);
    static void preferencesSay(TestContext &t, const QString &words, const char *png);
    // The labels of the keyring's entries of the program, as Seahorse lists them.
    static QStringList keyringLabels();

    std::unique_ptr<DovecotServer> dovecot;
};

void tst_KeyringDovecot::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("BVANE_PRIVATE_KEYRING") || DovecotServer::program().isEmpty())
        QSKIP("runs inside in_private_keyring.sh, with Dovecot installed");
    dovecot = std::make_unique<DovecotServer>(DovecotServer::Options{false, false, false, {}});
    dovecot->addUser(QStringLiteral("jane"), QStringLiteral("s3cret pass"));
    dovecot->deliver(QStringLiteral("jane"), "Subject: kept\r\n\r\nHi\r\n");
    QString why;
    QVERIFY2(dovecot->start(&why), qPrintable(why));
}

CountingKeyring *tst_KeyringDovecot::start(TestContext &t, const QDBusConnection &bus)
{
    SettingsModel &settings = t.context().model();
    settings.setText(Keys::AccountName(1), QStringLiteral("Home"));
    settings.setText(Keys::MailUserName(1), QStringLiteral("jane"));
    settings.setText(Keys::Domain(1), QStringLiteral("127.0.0.1:%1").arg(dovecot->pop3Port()));
    Passwords &passwords = t.context().passwords();
    auto keyring = std::make_unique<CountingKeyring>(bus);
    CountingKeyring *counting = keyring.get();
    passwords.setKeyring(std::move(keyring));
    passwords.start();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(passwords.place() != Passwords::Place::Deciding, 20000); }();
    return counting;
}

void tst_KeyringDovecot::preferencesSay(TestContext &t, const QString &words, const char *png)
{
    FakeMenuTools menu;
    frmPreferences preferences(t.context(), menu, {});
    QVERIFY(preferences.lblPasswords->text().contains(words));
    const QString artifacts = qEnvironmentVariable("BVANE_ARTIFACTS");
    if (!artifacts.isEmpty() && QDir().mkpath(artifacts))
        QVERIFY(preferences.grab().save(artifacts + u'/' + QLatin1String(png)));
}

QStringList tst_KeyringDovecot::keyringLabels()
{
    const QString secrets = QStringLiteral("org.freedesktop.secrets");
    QDBusMessage search
        = QDBusMessage::createMethodCall(secrets, QStringLiteral("/org/freedesktop/secrets"),
            QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("SearchItems"));
    search << QVariant::fromValue(
        QMap<QString, QString>{{QStringLiteral("server"), QStringLiteral("Brisvane")}});
    const QDBusReply<QList<QDBusObjectPath>> items = QDBusConnection::sessionBus().call(search);
    QStringList labels;
    for (const QDBusObjectPath &item : items.value()) {
        QDBusInterface properties(
            secrets, item.path(), QStringLiteral("org.freedesktop.Secret.Item"));
        labels << properties.property("Label").toString();
    }
    return labels;
}

QString tst_KeyringDovecot::logOn(TestContext &t, SlotMailControl &control)
{
    QSignalSpy done(&control, &MailControl::Done);
    QSignalSpy errors(&control, &MailControl::Error);
    const SettingsModel &settings = t.context().model();
    control.setHost(settings.text(Keys::Domain(1)));
    control.setUserName(settings.text(Keys::MailUserName(1)));
    control.setPassword(settings.text(Keys::MailPassword(1)));
    control.setSlot(1);
    control.LogOn();
    if (!QTest::qWaitFor([&] { return !done.isEmpty() || !errors.isEmpty(); }, 20000))
        return QStringLiteral("no answer");
    return errors.isEmpty() ? QString() : errors.at(0).at(1).toString();
}

void tst_KeyringDovecot::passwordMovesToTheKeyringAndTheCheckLogsOnFromIt()
{
    TestContext t;
    t.context().model().setText(Keys::MailPassword(1), QStringLiteral("s3cret pass"));
    {
        PrivateBus bare; // a bus where a keyring could start but none runs: the file is used
        QString why;
        QVERIFY2(bare.start(&why), qPrintable(why));
        start(t, bare.bus());
        QCOMPARE(t.settings().get(Keys::MailPassword(1)), QStringLiteral("s3cret pass"));
        preferencesSay(t, QStringLiteral("kept in the settings file"), "preferences-file.png");
    }
    for (int run = 0; run < 2; ++run) {
        t.reopen(); // a restart, now with the keyring (and then as it was left)
        start(t);
        QCOMPARE(t.context().passwords().place(), Passwords::Place::Keyring);
        QCOMPARE(t.settings().get(Keys::MailPassword(1)), QString());
        QCOMPARE(t.context().model().text(Keys::PasswordsInKeyring), QStringLiteral("Password1"));
        QTRY_COMPARE(
            keyringLabels(), QStringList{QStringLiteral("Brisvane: Home (jane@127.0.0.1)")});
        SlotMailControl control(t.context());
        QCOMPARE(logOn(t, control), QString());
        QCOMPARE(control.MessageCount(), 1);
        QSignalSpy quit(&control, &MailControl::Done);
        control.Quit();
        QVERIFY(quit.wait());
    }
    preferencesSay(t, QStringLiteral("kept in the desktop keyring"), "preferences-keyring.png");
    // The keyring gone at the next start: the password is not lost from sight, it is said
    // to be where it is.
    t.reopen();
    PrivateBus bare;
    QString why;
    QVERIFY2(bare.start(&why), qPrintable(why));
    start(t, bare.bus());
    QCOMPARE(t.context().passwords().unreadable(Keys::MailPassword(1)),
        QStringLiteral("Kept in the desktop keyring, which does not answer"));
    preferencesSay(t, QStringLiteral("cannot be read now"), "preferences-keyring-gone.png");
}

void tst_KeyringDovecot::aLockedKeyringIsReportedForTheAccount()
{
    QCOMPARE(QProcess::execute(QStringLiteral("dbus-send"),
                 {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                     QStringLiteral("--dest=org.freedesktop.secrets"),
                     QStringLiteral("/org/freedesktop/secrets"),
                     QStringLiteral("org.freedesktop.Secret.Service.Lock"),
                     QStringLiteral("array:objpath:/org/freedesktop/secrets/collection/login")}),
        0);
    TestContext t;
    t.context().model().setText(
        Keys::PasswordsInKeyring, QStringLiteral("Password1 Password2 Password3"));
    // A password that cannot go in now stays in the file rather than be lost.
    t.context().model().setText(Keys::Password, QStringLiteral("dial pass"));
    CountingKeyring *keyring = start(t);
    QCOMPARE(t.settings().get(Keys::Password), QStringLiteral("dial pass"));
    // Three passwords wanted at once: the keyring is asked (and would ask the user to
    // unlock it) once; its refusal answers the others, and the account's log-on too.
    Passwords &passwords = t.context().passwords();
    QSignalSpy fetched(&passwords, &Passwords::fetched);
    for (int slot = 1; slot <= 3; ++slot)
        passwords.fetch(Keys::MailPassword(slot));
    QTRY_COMPARE_WITH_TIMEOUT(fetched.count(), 3, 20000);
    SlotMailControl control(t.context());
    QVERIFY(logOn(t, control).startsWith(u"The password of Home could not be read"));
    QCOMPARE(keyring->reads, 1);
}

QTEST_MAIN(tst_KeyringDovecot)
#include "tst_keyring_dovecot.moc"
