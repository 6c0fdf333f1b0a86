#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace kestrelink {

enum class RegistryRoot { LocalMachine, ClassesRoot };

// Read-only access to the system registry; a fake in tests.
class RegistryReader {
public:
    RegistryReader() = default;
    virtual ~RegistryReader() = default;
    Q_DISABLE_COPY_MOVE(RegistryReader)

    // The value's data as the single-byte registry interface gives it (a text with its
    // terminating zero), or nullopt when the key or the value cannot be read. subkey separates
    // its levels with backslashes; an empty valueName names the key's default value.
    virtual std::optional<QByteArray> ReadValue(RegistryRoot root, const QString& subkey,
                                                const QString& valueName) const = 0;
};

// The registry of the system the program runs on; where the system has none, a reader that finds
// nothing, so that the browser counts as not installed.
std::unique_ptr<RegistryReader> MakeSystemRegistryReader();

bool IsIeInstalled(const RegistryReader& registry);
bool IsIeDefaultHttpHandler(const RegistryReader& registry);

// Whether to offer "Force IE only": that browser is installed and is not the default handler of
// HTTP. The second probe is made only when the first one says installed.
bool ShowForceIeOption(const RegistryReader& registry);
bool ShowForceIeOption();

}  // namespace kestrelink
