#include "mail/mailcontrol.h"

MailControl::~MailControl() = default;

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
