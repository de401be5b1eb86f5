// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pictures of docs/, by file name, drawn offscreen over made-up data
// with no display and no network; the application must run on the framed
// offscreen screen (useFramedOffscreenScreen). An empty map, or a null
// picture, when a window could not be shown. The screenshot program saves
// them; the start-up test compares them with docs/.
#include <QImage>
#include <QMap>
#include <QString>

// vesnal-main, vesnal-message, vesnal-help, vesnal-report.
QMap<QString, QImage> messengerPictures();
// vesnal-popup, vesnal-list, vesnal-reply.
QMap<QString, QImage> popupPictures();
