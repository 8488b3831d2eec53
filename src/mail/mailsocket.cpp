#include "mail/mailsocket.h"

namespace MailSocket {

QString quoted(const QByteArray &line)
{
    QString text = QString::fromLatin1(line.left(80));
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    return QLatin1Char('"') + text + QLatin1String(line.size() > 80 ? "...\"" : "\"");
}

} // namespace MailSocket
