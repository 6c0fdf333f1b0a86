#include "faces/qt/system_registry.h"

#include <QtGlobal>
#ifdef Q_OS_WIN
#include <QSettings>
#include <QString>
#include <QVariant>
#endif

#include "behaviour/registry_reader.h"

namespace kestrelink {
namespace {

// Windows only: no Qt for Windows is at hand where this is built and tested, so this reader is
// neither compiled nor exercised here; the probes that use it are, through their own readers.
#ifdef Q_OS_WIN
class WindowsRegistryReader final : public RegistryReader {
public:
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view subkey,
                                         std::string_view valueName) const override {
        // Opened at the root: QSettings opens the key it is given for writing and creates it
        // when missing, whereas a value below the root is only ever opened for reading.
        const QSettings registry(root == RegistryRoot::LocalMachine
                                     ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                     : QStringLiteral("HKEY_CLASSES_ROOT"),
                                 QSettings::NativeFormat);
        QString path = QString::fromUtf8(subkey.data(), static_cast<qsizetype>(subkey.size()));
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        path += QLatin1Char('/') +
                (valueName.empty() ? QStringLiteral("Default")
                                   : QString::fromUtf8(valueName.data(),
                                                       static_cast<qsizetype>(valueName.size())));
        const QVariant value = registry.value(path);
        if (!value.isValid()) {
            return std::nullopt;
        }
        return (value.toString().toLocal8Bit() + '\0').toStdString();
    }
};
#else
// Without a registry the browser counts as not installed.
class NoRegistry final : public RegistryReader {
public:
    std::optional<std::string> ReadValue(RegistryRoot, std::string_view,
                                         std::string_view) const override {
        return std::nullopt;
    }
};
#endif

}  // namespace

std::unique_ptr<RegistryReader> MakeSystemRegistryReader() {
#ifdef Q_OS_WIN
    return std::make_unique<WindowsRegistryReader>();
#else
    return std::make_unique<NoRegistry>();
#endif
}

}  // namespace kestrelink
