// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// `text` as an IPv4 or IPv6 address in its usual written form; empty when
// it is none (no blanks, names or port numbers are taken).
QString canonicalAddress(const QString &text);
