#include "tests/faces/qt/support/temporary_settings.h"

#include <QSettings>

namespace kestrelink::testing {

TemporarySettings::TemporarySettings() {
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        for (const auto scope : {QSettings::UserScope, QSettings::SystemScope}) {
            QSettings::setPath(format, scope, m_folder.path());
        }
    }
}

}  // namespace kestrelink::testing
