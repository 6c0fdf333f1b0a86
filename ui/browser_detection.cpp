#include "ui/browser_detection.h"

#include <QtGlobal>
#ifdef Q_OS_WIN
#include <QSettings>
#include <QVariant>
#endif

namespace kestrelink {
namespace {

// A value that does not fit this buffer fails to read, as the probes have always sized it.
constexpr qsizetype kValueBufferBytes = 261;

// Windows only: no Qt for Windows is at hand where this is built and tested, so this reader is
// neither compiled nor exercised here; the probes above it are, through their own readers.
#ifdef Q_OS_WIN
class WindowsRegistryReader final : public RegistryReader {
public:
    WindowsRegistryReader() = default;
    Q_DISABLE_COPY_MOVE(WindowsRegistryReader)

    std::optional<QByteArray> ReadValue(RegistryRoot root, const QString& subkey,
                                        const QString& valueName) const override {
        // Opened at the root: QSettings opens the key it is given for writing and creates it
        // when missing, whereas a value below the root is only ever opened for reading.
        const QSettings registry(root == RegistryRoot::LocalMachine
                                     ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                     : QStringLiteral("HKEY_CLASSES_ROOT"),
                                 QSettings::NativeFormat);
        QString path = subkey;
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        path += QLatin1Char('/') + (valueName.isEmpty() ? QStringLiteral("Default") : valueName);
        const QVariant value = registry.value(path);
        if (!value.isValid()) {
            return std::nullopt;
        }
        return value.toString().toLocal8Bit() + '\0';
    }
};
#else
// Without a registry the browser counts as not installed.
class NoRegistry final : public RegistryReader {
public:
    NoRegistry() = default;
    Q_DISABLE_COPY_MOVE(NoRegistry)

    std::optional<QByteArray> ReadValue(RegistryRoot, const QString&,
                                        const QString&) const override {
        return std::nullopt;
    }
};
#endif

std::optional<QByteArray> ReadProbeValue(const RegistryReader& registry, RegistryRoot root,
                                         const QString& subkey, const QString& valueName) {
    std::optional<QByteArray> data = registry.ReadValue(root, subkey, valueName);
    if (data && data->size() > kValueBufferBytes) {
        return std::nullopt;
    }
    return data;
}

}  // namespace

std::unique_ptr<RegistryReader> MakeSystemRegistryReader() {
#ifdef Q_OS_WIN
    return std::make_unique<WindowsRegistryReader>();
#else
    return std::make_unique<NoRegistry>();
#endif
}

bool IsIeInstalled(const RegistryReader& registry) {
    return ReadProbeValue(registry, RegistryRoot::LocalMachine,
                          QStringLiteral("Software\\Microsoft\\IE Setup\\Setup"),
                          QStringLiteral("Path"))
        .has_value();
}

bool IsIeDefaultHttpHandler(const RegistryReader& registry) {
    const std::optional<QByteArray> data =
        ReadProbeValue(registry, RegistryRoot::ClassesRoot,
                       QStringLiteral("HTTP\\shell\\open\\ddeexec\\Application"), QString());
    if (!data) {
        return false;
    }
    // The data is a zero-terminated text; anything after the first zero is not part of it.
    const QByteArray text(data->constData(), qstrnlen(data->constData(), data->size()));
    return text == "IExplore";
}

bool ShowForceIeOption(const RegistryReader& registry) {
    return IsIeInstalled(registry) && !IsIeDefaultHttpHandler(registry);
}

bool ShowForceIeOption() {
    return ShowForceIeOption(*MakeSystemRegistryReader());
}

}  // namespace kestrelink
