#pragma once

#include <QTemporaryDir>

namespace kestrelink::testing {

// While it lives, every QSettings made in this process keeps its values in a folder of its own,
// never in the user's; each new TemporarySettings starts empty.
class TemporarySettings final {
public:
    TemporarySettings();
    Q_DISABLE_COPY_MOVE(TemporarySettings)

private:
    QTemporaryDir m_folder;
};

}  // namespace kestrelink::testing
