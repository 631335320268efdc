#pragma once

#include <QStringList>

// Marks an access key in each caption of one menu, as Qt expects it (an ampersand before the
// key; an ampersand of the caption itself is doubled): the first letter or digit of the caption,
// from the left, that no earlier caption has taken. A caption with no free letter or digit gets
// no key.
QStringList withAccessKeys(const QStringList &captions);
