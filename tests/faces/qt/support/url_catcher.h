#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace kestrelink::testing {

// Stands in for the desktop's handler of a URL scheme (QDesktopServices::setUrlHandler with the
// slot "Open"), so that tests see what would have been opened.
class UrlCatcher final : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

}  // namespace kestrelink::testing
