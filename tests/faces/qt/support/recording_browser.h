#pragma once

#include <QStringList>

#include "behaviour/browser_starter.h"

namespace kestrelink::testing {

// Notes each launch instead of making it: "program|address", or "default|address" for the
// desktop's default handler.
class RecordingBrowser final : public BrowserStarter {
public:
    explicit RecordingBrowser(QStringList* launches) : m_launches(launches) {}

    void OpenWithDefaultHandler(std::string_view address) override {
        *m_launches << QStringLiteral("default|") + QString::fromUtf8(address);
    }
    void StartNamedBrowser(std::string_view program, std::string_view address) override {
        *m_launches << QString::fromUtf8(program) + QLatin1Char('|') + QString::fromUtf8(address);
    }

private:
    QStringList* m_launches;
};

}  // namespace kestrelink::testing
