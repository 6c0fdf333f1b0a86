#pragma once

#include <QtGlobal>

namespace kestrelink {

// The application: runs the main window modally once and ends when it closes. It reads no
// command line; the window's size, place, columns and sort are kept for the next run.
class CKestrelinkApp final {
public:
    CKestrelinkApp() = default;
    Q_DISABLE_COPY_MOVE(CKestrelinkApp)

    // Needs a QApplication. Returns the process's exit status, always 0.
    int InitInstance();
};

}  // namespace kestrelink
