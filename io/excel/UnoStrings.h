#pragma once

// UNO's strings as Qt's, and back: both are UTF-16.

#include <QString>

#include <rtl/ustring.hxx>

QString toQString(const rtl::OUString &text);
rtl::OUString toOUString(const QString &text);
