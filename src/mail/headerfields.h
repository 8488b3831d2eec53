#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The three fields the mail dialogs list for a message.
struct HeaderFields {
    QString from;
    QString subject;
    QString date;
};

// Reads From, Subject and Date from a message header (the lines before the first blank
// line, dot-stuffing already undone): folded lines are unfolded, encoded words in From and
// Subject decoded, and each value made one line of text (control characters, TAB among them,
// become spaces, runs of white space one space) of at most `maxChars` characters, a longer one
// cut to end in "…". The first occurrence of a field counts.
HeaderFields parseHeaderFields(const QList<QByteArray> &lines, qsizetype maxChars = 1000);
