#include "mail/mailcontrol.h"

MailControl::~MailControl() = default;

void MailControl::DeleteListed(const QList<int> &numbers)
{
    const QStringList identities = Identities();
    for (int number : numbers) {
        if (identities.size() >= number) {
            DeleteByIdentity(identities.at(number - 1));
        } else {
            setMessageNumber(qint16(number));
            DeleteMessage();
        }
        m_deletedHere.insert(number);
    }
    QMetaObject::invokeMethod(
        this, [this, n = int(numbers.size())] { Q_EMIT DeletionProgress(n, n); },
        Qt::QueuedConnection);
}

void MailControl::MarkListedRead(const QList<int> &numbers)
{
    Q_UNUSED(numbers)
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT ReadMarked({}); }, Qt::QueuedConnection);
}

void MailControl::dispose(std::unique_ptr<MailControl> control)
{
    if (!control || !control->isQuitting())
        return;
    MailControl *raw = control.release();
    raw->disconnect();
    // A quit still under way when the clock goes (the program or a test ending) goes with it:
    // its socket must not wake timers on a clock that is gone.
    if (QObject *owner = raw->lifetimeOwner())
        raw->setParent(owner);
    connect(raw, &MailControl::Done, raw, &QObject::deleteLater);
    connect(raw, &MailControl::Error, raw, &QObject::deleteLater);
}
