#pragma once

#include "shell/ui/updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

// A widget of a page or window found by its object name, as a user finds it on screen: the
// pages keep their Designer classes to themselves. A name that is not there ends the test
// run: a renamed widget is a broken test, not a skipped one.
template <typename W = QWidget> W *widget(const QWidget &parent, const char *name)
{
    W *found = parent.findChild<W *>(QString::fromLatin1(name));
    if (!found)
        qFatal("No %s named %s", W::staticMetaObject.className(), name);
    return found;
}

template <typename W = QWidget> W *widget(const QWidget *parent, const char *name)
{
    return widget<W>(*parent, name);
}
