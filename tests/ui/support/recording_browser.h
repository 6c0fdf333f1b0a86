#pragma once

#include <QStringList>

#include "ui/web_launcher.h"

namespace kestrelink::testing {

// Notes each launch instead of making it: "program|address", or "default|address" for the
// desktop's default handler.
class RecordingBrowser final : public BrowserStarter {
public:
    explicit RecordingBrowser(QStringList* launches) : m_launches(launches) {}
    Q_DISABLE_COPY_MOVE(RecordingBrowser)

    void OpenWithDefaultHandler(const QString& address) override {
        *m_launches << QStringLiteral("default|") + address;
    }
    void StartNamedBrowser(const QString& program, const QString& address) override {
        *m_launches << program + QLatin1Char('|') + address;
    }

private:
    QStringList* m_launches;
};

}  // namespace kestrelink::testing
