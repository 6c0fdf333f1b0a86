#include "behaviour/window_texts.h"

#include "kestrelink/version.h"

namespace kestrelink {

std::string MainWindowTitle() {
    return "Kestrelink " + std::string(kVersion);
}

}  // namespace kestrelink
