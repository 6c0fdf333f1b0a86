#include "ui/browser_detection.h"

// Temporary body until browser detection lands; replaced by its real implementation.
namespace kestrelink {

bool ShowForceIeOption() {
    return false;
}

}  // namespace kestrelink
