#pragma once

#include "connection/dialupservice.h"

#include <QString>
#include <QStringList>

#include <optional>

// How pppd is driven and read: its peers, the arguments and files of a dial with user
// settings, the steps in its output and the meaning of its exit status (pppd(8)).
namespace PppdMapping {

struct Step {
    int code;
    QString text;
};

// The peer files of `dir` that `pppd call` accepts, sorted; backups and hidden files left out.
QStringList peerNames(const QString &dir);
// `name` on the path, else in /usr/sbin or /sbin (where Debian keeps pppd and chat, off a
// user's path); empty when it is nowhere.
QString findProgram(const QString &name);

// The step a line of pppd's output (or of chat's, which pppd passes on) stands for.
std::optional<Step> stepForLine(const QString &line);
// Whether the line shows the modem answering BUSY (chat's abort, or the modem's own word).
bool showsBusy(const QString &line);
// What a pppd exit status means, for the text of a lost line.
QString exitMeaning(int exitCode);

// How a peer lets a busy line be told from other failures. chat's own messages reach pppd's
// output only when its connect line runs chat with -s (messages to standard error, which pppd
// passes on) or -e (the modem's words echoed there); with -r FILE chat writes the REPORT
// strings its script names (REPORT BUSY) to FILE. A chat run with only -v logs to syslog.
struct BusyReporting {
    bool hasConnectLine = false; // the peer dials through a connect command at all
    bool chatOutputShown = false; // -s or -e: BUSY shows in pppd's output
    QString reportFile; // -r FILE, empty without one
    bool canTell() const { return !hasConnectLine || chatOutputShown || !reportFile.isEmpty(); }
};
// Reads the connect line of peer file `peerFile` (the last one counts, as for pppd).
BusyReporting busyReporting(const QString &peerFile);
// What the state list says when a peer cannot tell a busy line from another failure.
QString busyUnreadableNote();

// The link name pppd is given for a dial of `entry` (empty for user settings), and back:
// pppd keeps its pid in <run folder>/ppp-<link name>.pid while the link is up.
QString linkName(const QString &entry);
std::optional<QString> entryOfLinkName(const QString &name);

// A word quoted for a pppd options file or a chat script: within double quotes, with
// backslash, quote and control characters escaped.
QString quoted(const QString &word);
// The chat script that dials `number` on a Hayes modem, aborting on BUSY and the other modem
// failures.
QString chatScript(const QString &number);
// The options file that carries the user name and password of a dial with user settings, so
// that neither appears on a command line.
QString secretOptions(const DialRequest &request);
// pppd's arguments for a dial with user settings on `modem`: the options and chat files are
// named, their contents never.
QStringList logonArguments(const QString &modem, const QString &optionsFile,
    const QString &chatProgram, const QString &chatFile);

} // namespace PppdMapping
