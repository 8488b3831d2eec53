// Passwords in GNOME Keyring's Secret Service (in_private_keyring.sh starts it on a bus of the
// test's own) and mail checks against the tests' Dovecot: the file's password moves into the
// keyring at start, the check logs on from it, before and after a restart; without a Secret
// Service the file keeps it; a locked keyring is reported for the account.

#include "alerts/frmpreferences.h"
#include "dovecotserver.h"
#include "mail/mailerror.h"
#include "mail/ui/mailcontrol.h"
#include "settings/passwords.h"
#include "settings/qtkeychainbackend.h"
#include "settings/settingsmodel.h"
#include "support/fakemenutools.h"
#include "support/privatebus.h"
#include "support/testcontext.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

class tst_KeyringDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void passwordMovesToTheKeyringAndTheCheckLogsOnFromIt();
    void withoutASecretServiceTheFileKeepsIt();
    void aLockedKeyringIsReportedForTheAccount();

private:
    // Gives the context's passwords the keyring on `bus` and waits until they know the place.
    static void startPasswords(AppContext &context, const QDBusConnection &bus);
    // Slot 1 logs on as a check window would (the window passes the file's password).
    void logOn(AppContext &context, QSignalSpy &done, QSignalSpy &errors, SlotMailControl &c);
    static void setUpSlot(SettingsModel &settings, quint16 port);

    std::unique_ptr<DovecotServer> dovecot;
};

void tst_KeyringDovecot::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("BVANE_PRIVATE_KEYRING"))
        QSKIP("runs inside in_private_keyring.sh");
    if (DovecotServer::program().isEmpty())
        QSKIP("Dovecot is not installed (Debian package dovecot-pop3d)");
    DovecotServer::Options options;
    options.tls = false;
    dovecot = std::make_unique<DovecotServer>(options);
    dovecot->addUser(QStringLiteral("jane"), QStringLiteral("s3cret pass"));
    dovecot->deliver(
        QStringLiteral("jane"), "From: Ann <ann@example.org>\r\nSubject: kept\r\n\r\nHi\r\n");
    QString why;
    QVERIFY2(dovecot->start(&why), qPrintable(why));
}

void tst_KeyringDovecot::startPasswords(AppContext &context, const QDBusConnection &bus)
{
    Passwords &passwords = context.passwords();
    passwords.setKeyring(std::make_unique<QtKeychainBackend>(bus));
    passwords.start();
    QTRY_VERIFY_WITH_TIMEOUT(passwords.place() != Passwords::Place::Deciding, 20000);
}

void tst_KeyringDovecot::setUpSlot(SettingsModel &settings, quint16 port)
{
    settings.setText(Keys::AccountName(1), QStringLiteral("Home"));
    settings.setText(Keys::MailUserName(1), QStringLiteral("jane"));
    settings.setText(Keys::Domain(1), QStringLiteral("127.0.0.1:%1").arg(port));
}

void tst_KeyringDovecot::logOn(
    AppContext &context, QSignalSpy &done, QSignalSpy &errors, SlotMailControl &control)
{
    const qsizetype before = done.size() + errors.size();
    const SettingsModel &settings = context.model();
    control.setHost(settings.text(Keys::Domain(1)));
    control.setUserName(settings.text(Keys::MailUserName(1)));
    control.setPassword(settings.text(Keys::MailPassword(1)));
    control.setSlot(1);
    control.LogOn();
    QTRY_VERIFY_WITH_TIMEOUT(done.size() + errors.size() > before, 20000);
}

void tst_KeyringDovecot::passwordMovesToTheKeyringAndTheCheckLogsOnFromIt()
{
    TestContext t;
    setUpSlot(t.context().model(), dovecot->pop3Port());
    t.context().model().setText(Keys::MailPassword(1), QStringLiteral("s3cret pass"));
    startPasswords(t.context(), QDBusConnection::sessionBus());
    QCOMPARE(t.context().passwords().place(), Passwords::Place::Keyring);
    QCOMPARE(t.settings().get(Keys::MailPassword(1)), QString());
    QCOMPARE(t.context().model().text(Keys::PasswordsInKeyring), QStringLiteral("Password1"));
    for (int run = 0; run < 2; ++run) {
        if (run == 1) { // a restart: a new context, the keyring as it was
            t.reopen();
            startPasswords(t.context(), QDBusConnection::sessionBus());
        }
        SlotMailControl control(t.context());
        QSignalSpy done(&control, &MailControl::Done);
        QSignalSpy errors(&control, &MailControl::Error);
        logOn(t.context(), done, errors, control);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).value(1).toString()));
        QCOMPARE(control.MessageCount(), 1);
        control.Quit();
        QTRY_COMPARE(done.size(), 2);
    }
    QFile file(t.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly) && !file.readAll().contains("s3cret"));
    // What Preferences says now.
    FakeMenuTools menu;
    frmPreferences preferences(t.context(), menu, {});
    QVERIFY(preferences.lblPasswords->text().contains(u"desktop keyring"));
    const QString artifacts = qEnvironmentVariable("BVANE_ARTIFACTS");
    if (!artifacts.isEmpty() && QDir().mkpath(artifacts))
        QVERIFY(preferences.grab().save(artifacts + QStringLiteral("/preferences-keyring.png")));
}

void tst_KeyringDovecot::withoutASecretServiceTheFileKeepsIt()
{
    PrivateBus bare;
    QString why;
    QVERIFY2(bare.start(&why, false), qPrintable(why));
    TestContext t;
    t.context().model().setText(Keys::Password, QStringLiteral("dial pass"));
    startPasswords(t.context(), bare.bus());
    QCOMPARE(t.context().passwords().place(), Passwords::Place::SettingsFile);
    QCOMPARE(t.settings().get(Keys::Password), QStringLiteral("dial pass"));
    QVERIFY(t.context().passwords().placeText().contains(u"settings file"));
}

void tst_KeyringDovecot::aLockedKeyringIsReportedForTheAccount()
{
    QDBusMessage lock = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.secrets"),
        QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
    lock << QVariant::fromValue(QList<QDBusObjectPath>{
        QDBusObjectPath(QStringLiteral("/org/freedesktop/secrets/collection/login"))});
    const QDBusMessage locked = QDBusConnection::sessionBus().call(lock);
    QVERIFY2(locked.type() == QDBusMessage::ReplyMessage, qPrintable(locked.errorMessage()));
    TestContext t;
    setUpSlot(t.context().model(), dovecot->pop3Port());
    t.context().model().setText(Keys::PasswordsInKeyring, QStringLiteral("Password1"));
    // A password typed now cannot go in: the file keeps it rather than lose it.
    t.context().model().setText(Keys::Password, QStringLiteral("dial pass"));
    startPasswords(t.context(), QDBusConnection::sessionBus());
    QCOMPARE(t.settings().get(Keys::Password), QStringLiteral("dial pass"));
    SlotMailControl control(t.context());
    QSignalSpy done(&control, &MailControl::Done);
    QSignalSpy errors(&control, &MailControl::Error);
    logOn(t.context(), done, errors, control);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toInt(), int(MailError::PasswordUnavailable));
    QVERIFY2(errors.at(0).at(1).toString().contains(u"The password of Home"),
        qPrintable(errors.at(0).at(1).toString()));
}

QTEST_MAIN(tst_KeyringDovecot)
#include "tst_keyring_dovecot.moc"
